#include "reportsaver.h"

#include "appexer.h"
#include "datestamp.h"
#include "erroralert.h"
#include "rtfencoder.h"

#include <QSaveFile>

namespace ReportSaver {

QString proposedName(const QDateTime &catalogueDate)
{
    return QStringLiteral("Zephlist") + dateStamp(catalogueDate) + QStringLiteral(".text");
}

void saveAsRTF(const Appexer &appexer, SavePanel &panel, ErrorAlert &alert)
{
    if (appexer.appexList().isEmpty())
        return;
    // Composed before the panel opens: a refresh while it is open changes nothing.
    panel.begin(proposedName(appexer.theDate()),
                [report = composeReport(appexer.appexList()), &alert](SavePanel::Response response,
                                                                      const QString &location) {
                    writeReport(response, location, report, alert);
                });
}

void writeReport(SavePanel::Response response, const QString &location, const ReportText &report,
                 ErrorAlert &alert)
{
    if (response == SavePanel::Response::OK && !location.isEmpty())
        writeFile(location, RtfEncoder::encode(report), QStringLiteral("report"), alert);
}

void writeListing(SavePanel::Response response, const QString &location, const QByteArray &listing,
                  ErrorAlert &alert)
{
    if (response == SavePanel::Response::OK && !location.isEmpty())
        writeFile(location, listing, QStringLiteral("listing"), alert);
}

void writeFile(const QString &location, const QByteArray &bytes, const QString &what,
               ErrorAlert &alert)
{
    QSaveFile file(location);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return;
    // Uncommitted, the temporary file is dropped and any earlier file stays.
    alert.showErrorAlert(QStringLiteral("The %1 could not be saved as \u201C%2\u201D: %3.")
                             .arg(what, location, file.errorString()));
}

} // namespace ReportSaver
