#include "reportsaver.h"

#include "appexer.h"
#include "datestamp.h"
#include "erroralert.h"
#include "outputfile.h"
#include "rtfencoder.h"

#include <QCoreApplication>

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

void writeFile(const QString &location, QByteArrayView bytes, const QString &what,
               ErrorAlert &alert)
{
    // A save dialog names a document: a FIFO or a device there is refused,
    // with the same alert as any other failure.
    const std::optional<QString> failure =
        OutputFile::write(location, bytes, OutputFile::SpecialFiles::Refuse);
    if (failure)
        alert.showErrorAlert(QCoreApplication::translate(
                                 "ReportSaver", "The %1 could not be saved as \u201C%2\u201D: %3.")
                                 .arg(what, location, *failure));
}

} // namespace ReportSaver
