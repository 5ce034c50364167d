#include "rtfreader.h"

#include <QStack>

namespace {

struct State
{
    int colour = 0;
    int skipAfterUnicode = 1;
    bool skipped = false; // inside a destination that holds no text
};

} // namespace

RtfReader::RtfReader(const QByteArray &rtf)
{
    QStringList colourTable;
    int red = 0, green = 0, blue = 0;
    bool inColourTable = false;
    QStack<State> stack;
    State state;
    int pendingSkip = 0;

    const auto colourName = [&] {
        return state.colour < colourTable.size() ? colourTable[state.colour] : QStringLiteral("?");
    };
    const auto emitChar = [&](QChar c) {
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        if (!state.skipped)
            append(c, colourName());
    };

    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            stack.push(state);
        } else if (c == '}') {
            if (stack.isEmpty()) {
                m_wellFormed = false;
                return;
            }
            state = stack.pop();
            inColourTable = false;
        } else if (c == '\r' || c == '\n') {
            continue;
        } else if (c == ';' && inColourTable) {
            colourTable << (colourTable.isEmpty() ? QStringLiteral("auto")
                                                  : QStringLiteral("#%1%2%3")
                                                        .arg(red, 2, 16, QLatin1Char('0'))
                                                        .arg(green, 2, 16, QLatin1Char('0'))
                                                        .arg(blue, 2, 16, QLatin1Char('0')));
        } else if (c != '\\') {
            emitChar(QChar::fromLatin1(c));
        } else if (++i < rtf.size()) {
            const char s = rtf[i];
            if (s == '\\' || s == '{' || s == '}') {
                emitChar(QChar::fromLatin1(s));
            } else if (s == '*') {
                state.skipped = true;
            } else if (s == '\'') {
                emitChar(QChar::fromLatin1(char(rtf.mid(i + 1, 2).toInt(nullptr, 16))));
                i += 2;
            } else if (QChar::isLetter(s)) {
                qsizetype end = i;
                while (end < rtf.size() && QChar::isLetter(rtf[end]))
                    ++end;
                const QByteArray word = rtf.mid(i, end - i);
                qsizetype numberEnd = end;
                if (numberEnd < rtf.size() && rtf[numberEnd] == '-')
                    ++numberEnd;
                while (numberEnd < rtf.size() && QChar::isDigit(rtf[numberEnd]))
                    ++numberEnd;
                const int number = rtf.mid(end, numberEnd - end).toInt();
                i = numberEnd < rtf.size() && rtf[numberEnd] == ' ' ? numberEnd : numberEnd - 1;

                if (word == "par")
                    emitChar(u'\n');
                else if (word == "tab")
                    emitChar(u'\t');
                else if (word == "cf")
                    state.colour = number;
                else if (word == "uc")
                    state.skipAfterUnicode = number;
                else if (word == "u") {
                    emitChar(QChar(char16_t(qint16(number))));
                    pendingSkip = state.skipAfterUnicode;
                } else if (word == "colortbl") {
                    inColourTable = true;
                    state.skipped = true;
                    red = green = blue = 0;
                } else if (word == "fonttbl" || word == "info" || word == "stylesheet")
                    state.skipped = true;
                else if (word == "red")
                    red = number;
                else if (word == "green")
                    green = number;
                else if (word == "blue")
                    blue = number;
            } else {
                m_wellFormed = false; // a control symbol this reader does not know
            }
        }
    }
    m_wellFormed = m_wellFormed && stack.isEmpty();
}

QString RtfReader::text() const
{
    QString all;
    for (const Run &run : m_runs)
        all += run.text;
    return all;
}

void RtfReader::append(QChar c, const QString &colour)
{
    if (m_runs.isEmpty() || m_runs.last().colour != colour)
        m_runs.append({QString(), colour});
    m_runs.last().text += c;
}
