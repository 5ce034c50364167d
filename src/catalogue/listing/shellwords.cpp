#include "shellwords.h"

namespace ShellWords {

QString quoted(const QString &word)
{
    const auto plain = [](QChar c) {
        return c.isLetterOrNumber() && c.unicode() < 0x80 ? true
                                                          : QStringView(u"@%_+=:,./-").contains(c);
    };
    if (!word.isEmpty() && std::all_of(word.begin(), word.end(), plain))
        return word;
    // Inside single quotes nothing is special but the quote itself, which
    // ends the quoting, stands escaped, and starts it again.
    QString escaped = word;
    escaped.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + escaped + u'\'';
}

QString commandLine(const QString &program, const QStringList &arguments)
{
    QStringList words{quoted(program)};
    for (const QString &argument : arguments)
        words << quoted(argument);
    return words.join(u' ');
}

QString toolCommand(const QStringList &arguments)
{
    return commandLine(QStringLiteral("pluginkit"), arguments);
}

} // namespace ShellWords
