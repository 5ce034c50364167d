#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;

// The status bar's sign that a job runs: a busy bar, what runs and for how
// many seconds, and a button that stops it.
class JobStatus : public QWidget
{
    Q_OBJECT

public:
    explicit JobStatus(QWidget *parent = nullptr);

    // Shows `text` ("Running pluginkit") with the seconds since now.
    void start(const QString &text);
    void stop();

    [[nodiscard]] QString text() const;

signals:
    void stopRequested();

private:
    void showElapsed();

    QLabel *m_label;
    QString m_text;
    QElapsedTimer m_elapsed;
    QTimer m_ticks;
};
