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
    if (response != SavePanel::Response::OK || location.isEmpty())
        return;
    const QByteArray rtf = RtfEncoder::encode(report);
    QSaveFile file(location);
    // Where the folder cannot take a temporary file, write the file in place.
    file.setDirectWriteFallback(true);
    if (file.open(QIODevice::WriteOnly) && file.write(rtf) == rtf.size() && file.commit())
        return;
    // Uncommitted, the temporary file is dropped and any earlier file stays.
    alert.showErrorAlert(QStringLiteral("The report could not be saved as \u201C%1\u201D: %2.")
                             .arg(location, file.errorString()));
}

} // namespace ReportSaver
