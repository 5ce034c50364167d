#include "helpview.h"

#include "pdfkitview.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

HelpView::HelpView(const QUrl &pdfUrl, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (pdfUrl.isEmpty()) {
        auto *missing =
            new QLabel(tr("The help document is missing from this installation."), this);
        missing->setObjectName(QStringLiteral("helpMissing"));
        missing->setAlignment(Qt::AlignCenter);
        missing->setWordWrap(true);
        layout->addWidget(missing);
    } else {
        layout->addWidget(new PDFKitView(pdfUrl, this));
    }
}

QUrl HelpView::helpDocumentUrl()
{
    // The resources lie beside the executable's folder: Contents/Resources in
    // the macOS bundle, share/zephlist elsewhere (installed and in the build).
#ifdef Q_OS_MACOS
    const QString resources = QStringLiteral("/../Resources");
#else
    const QString resources = QStringLiteral("/../" ZEPHLIST_DATA_DIR);
#endif
    const QString path = QDir::cleanPath(QCoreApplication::applicationDirPath() + resources +
                                         QStringLiteral("/ZephlistHelp.pdf"));
    return QFileInfo::exists(path) ? QUrl::fromLocalFile(path) : QUrl();
}
