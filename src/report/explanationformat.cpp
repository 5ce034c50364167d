#include "explanationformat.h"

#include "appexelection.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class Words
{
    Q_DECLARE_TR_FUNCTIONS(ExplanationFormat)

public:
    static QString election(AppexElection election)
    {
        const QLatin1StringView name = electionInfo(election).name;
        return name.isEmpty() ? tr("none") : QString(name);
    }
};

} // namespace

namespace ExplanationFormat {

QString useText(const CopiesExplanation::Copy &copy)
{
    switch (copy.use) {
    case CopiesExplanation::Use::InUse:
        return copy.record.election() == AppexElection::Ignore ? Words::tr("Disabled")
                                                               : Words::tr("In use");
    case CopiesExplanation::Use::NotUsed:
        return Words::tr("Not used");
    case CopiesExplanation::Use::Unknown:
        break;
    }
    return Words::tr("Listed");
}

QStringList reasons(const CopiesExplanation::Copy &copy)
{
    QStringList reasons;
    switch (copy.place) {
    case CopyAnnotation::Place::BuildFolder:
        reasons << Words::tr("development build");
        break;
    case CopyAnnotation::Place::Trash:
        reasons << Words::tr("in the Trash");
        break;
    case CopyAnnotation::Place::DiskImage:
        reasons << Words::tr("on a disk image");
        break;
    case CopyAnnotation::Place::Installed:
        break;
    }
    if (copy.record.problems().testFlag(AppexProblem::Missing))
        reasons << Words::tr("missing from disk");
    if (copy.olderVersion)
        reasons << Words::tr("an older version");
    return reasons;
}

QByteArray text(const CopiesExplanation &explanation)
{
    QStringList lines;
    lines << (explanation.name.isEmpty()
                  ? explanation.identifier
                  : QStringLiteral("%1 (%2)").arg(explanation.name, explanation.identifier));
    lines << Words::tr("Category: %1. Election: %2.")
                 .arg(explanation.category, Words::election(explanation.election));
    lines << QString();
    for (const CopiesExplanation::Copy &copy : explanation.copies) {
        QString line =
            QStringLiteral("%1  %2  %3  %4  [%5]")
                .arg(useText(copy).leftJustified(8),
                     copy.record.version().isEmpty() ? QStringLiteral("-") : copy.record.version(),
                     copy.record.timestamp().isEmpty() ? QStringLiteral("-")
                                                       : copy.record.timestamp(),
                     copy.record.path(), Words::election(copy.record.election()));
        if (const QStringList why = reasons(copy); !why.isEmpty())
            line += QStringLiteral(" (%1)").arg(why.join(QStringLiteral(", ")));
        lines << line;
    }
    const auto commands = [&lines](const QString &heading, const QStringList &list) {
        if (list.isEmpty())
            return;
        lines << QString() << heading;
        for (const QString &command : list)
            lines << QStringLiteral("  ") + command;
    };
    commands(Words::tr("To use another copy:"), explanation.useCommands());
    commands(Words::tr("To remove a stale registration (the bundle stays on disk):"),
             explanation.removeCommands());
    return (lines.join(u'\n') + u'\n').toUtf8();
}

QByteArray json(const CopiesExplanation &explanation)
{
    QJsonArray copies;
    for (const CopiesExplanation::Copy &copy : explanation.copies) {
        const auto use = copy.use == CopiesExplanation::Use::InUse     ? "inUse"
                         : copy.use == CopiesExplanation::Use::NotUsed ? "notUsed"
                                                                       : "unknown";
        copies.append(QJsonObject{
            {QStringLiteral("use"), QLatin1StringView(use)},
            {QStringLiteral("version"), copy.record.version()},
            {QStringLiteral("timestamp"), copy.record.timestamp()},
            {QStringLiteral("path"), copy.record.path()},
            {QStringLiteral("uuid"), copy.record.uuid()},
            {QStringLiteral("election"), QString(electionInfo(copy.record.election()).name)},
            {QStringLiteral("reasons"), QJsonArray::fromStringList(reasons(copy))},
        });
    }
    const QJsonObject object{
        {QStringLiteral("identifier"), explanation.identifier},
        {QStringLiteral("name"), explanation.name},
        {QStringLiteral("category"), explanation.category},
        {QStringLiteral("election"), QString(electionInfo(explanation.election).name)},
        {QStringLiteral("copies"), copies},
        {QStringLiteral("useCommands"), QJsonArray::fromStringList(explanation.useCommands())},
        {QStringLiteral("removeCommands"),
         QJsonArray::fromStringList(explanation.removeCommands())},
    };
    return QJsonDocument(object).toJson();
}

} // namespace ExplanationFormat
