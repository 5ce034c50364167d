#include "rtfreader.h"

namespace {

enum class Destination { Text, ColourTable, Skipped };

struct GroupState
{
    Destination destination = Destination::Text;
    qint32 colour = RtfReader::automaticColour;
    int fallbackLength = 1; // characters after \uN that stand in for it
};

bool isLetter(char c)
{
    return c >= 'a' && c <= 'z';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

class Reader
{
public:
    std::optional<RtfReader::Document> read(QByteArrayView rtf)
    {
        for (qsizetype at = 0; at < rtf.size();) {
            const char c = rtf[at++];
            if (c == '{') {
                m_groups.append(m_state);
            } else if (c == '}') {
                if (m_groups.isEmpty())
                    return std::nullopt;
                m_state = m_groups.takeLast();
            } else if (c == '\\') {
                if (at == rtf.size())
                    return std::nullopt;
                if (!isLetter(rtf[at])) {
                    const char symbol = rtf[at++];
                    if (symbol == '*')
                        m_state.destination = Destination::Skipped;
                    else if (symbol == '\\' || symbol == '{' || symbol == '}')
                        character(symbol);
                    else
                        return std::nullopt;
                    continue;
                }
                const qsizetype name = at;
                while (at < rtf.size() && isLetter(rtf[at]))
                    ++at;
                const QByteArrayView word = rtf.sliced(name, at - name);
                const qsizetype number = at;
                if (at < rtf.size() && rtf[at] == '-')
                    ++at;
                while (at < rtf.size() && isDigit(rtf[at]))
                    ++at;
                const int parameter = rtf.sliced(number, at - number).toInt();
                if (at < rtf.size() && rtf[at] == ' ')
                    ++at; // the space ends the word and is no text
                if (!controlWord(word, parameter))
                    return std::nullopt;
            } else if (c != '\n' && c != '\r') {
                character(c);
            }
        }
        if (!m_groups.isEmpty())
            return std::nullopt;
        return m_document;
    }

private:
    bool controlWord(QByteArrayView word, int parameter)
    {
        if (word == "fonttbl")
            m_state.destination = Destination::Skipped;
        else if (word == "colortbl")
            m_state.destination = Destination::ColourTable;
        else if (word == "red")
            m_entry = (m_entry.value_or(0) & 0x00ffff) | (parameter & 0xff) << 16;
        else if (word == "green")
            m_entry = (m_entry.value_or(0) & 0xff00ff) | (parameter & 0xff) << 8;
        else if (word == "blue")
            m_entry = (m_entry.value_or(0) & 0xffff00) | (parameter & 0xff);
        else if (word == "cf" && (parameter < 0 || parameter >= m_colourTable.size()))
            return false;
        else if (word == "cf")
            m_state.colour = m_colourTable[parameter];
        else if (word == "plain")
            m_state.colour = RtfReader::automaticColour;
        else if (word == "uc")
            m_state.fallbackLength = parameter;
        else if (word == "par")
            unit(u'\n');
        else if (word == "tab")
            unit(u'\t');
        else if (word == "u") {
            unit(char16_t(parameter));
            m_fallbackLeft = m_state.fallbackLength;
        }
        return true;
    }

    void character(char c)
    {
        if (m_state.destination == Destination::ColourTable && c == ';') {
            m_colourTable.append(m_entry.value_or(RtfReader::automaticColour));
            m_entry.reset();
        } else if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
        } else {
            unit(QChar::fromLatin1(c).unicode());
        }
    }

    void unit(char16_t unit)
    {
        if (m_state.destination != Destination::Text)
            return;
        m_document.text += QChar(unit);
        m_document.colours.append(m_state.colour);
    }

    RtfReader::Document m_document;
    GroupState m_state;
    QList<GroupState> m_groups;
    QList<qint32> m_colourTable;
    std::optional<qint32> m_entry; // the table entry being read; none: automatic
    int m_fallbackLeft = 0;        // fallback characters still to skip after \uN
};

} // namespace

namespace RtfReader {

std::optional<Document> read(QByteArrayView rtf)
{
    return Reader().read(rtf);
}

} // namespace RtfReader
