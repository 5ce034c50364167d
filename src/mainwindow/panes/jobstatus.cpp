#include "jobstatus.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

JobStatus::JobStatus(QWidget *parent)
    : QWidget(parent)
    , m_label(new QLabel(this))
{
    m_label->setTextFormat(Qt::PlainText); // file names are no markup

    setObjectName(QStringLiteral("jobStatus"));
    auto *busy = new QProgressBar(this);
    busy->setRange(0, 0); // no end known: the bar moves to and fro
    busy->setMaximumSize(120, 14);
    busy->setTextVisible(false);
    auto *stopButton = new QPushButton(tr("S&top"), this);
    stopButton->setObjectName(QStringLiteral("stop"));
    stopButton->setToolTip(tr("Stop the listing tool (Esc)"));
    stopButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(stopButton, &QPushButton::clicked, this, &JobStatus::stopRequested);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(busy);
    row->addWidget(m_label);
    row->addWidget(stopButton);
    m_ticks.setInterval(1000);
    connect(&m_ticks, &QTimer::timeout, this, &JobStatus::showElapsed);
    hide();
}

void JobStatus::start(const QString &text)
{
    m_text = text;
    m_elapsed.start();
    m_ticks.start();
    showElapsed();
    show();
}

void JobStatus::stop()
{
    m_ticks.stop();
    hide();
}

QString JobStatus::text() const
{
    return m_label->text();
}

void JobStatus::showElapsed()
{
    m_label->setText(tr("%1\u2026 %2 s").arg(m_text).arg(m_elapsed.elapsed() / 1000));
}
