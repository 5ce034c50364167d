#include "rtfencoder.h"
#include "version.h"

#include <algorithm>
#include <array>

namespace {

struct ColourEntry
{
    ReportColour role;
    const char *rgb; // as the colour table writes it
};

constexpr std::array colourEntries = {
    ColourEntry{ReportColour::Blue, "\\red0\\green122\\blue255;"},
    ColourEntry{ReportColour::Green, "\\red40\\green205\\blue65;"},
    ColourEntry{ReportColour::Red, "\\red255\\green59\\blue48;"},
};

bool isPlainAscii(char16_t c)
{
    return c >= 0x20 && c < 0x7f && c != u'\\' && c != u'{' && c != u'}';
}

void appendEscaped(QByteArray &rtf, QStringView text)
{
    qsizetype plainStart = 0;
    const auto flushPlain = [&](qsizetype end) {
        const qsizetype at = rtf.size();
        rtf.resize(at + end - plainStart);
        std::transform(text.begin() + plainStart, text.begin() + end, rtf.data() + at,
                       [](QChar c) { return char(c.unicode()); });
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (isPlainAscii(c))
            continue;
        flushPlain(i);
        plainStart = i + 1;
        switch (c) {
        case u'\\':
            rtf += "\\\\";
            break;
        case u'{':
            rtf += "\\{";
            break;
        case u'}':
            rtf += "\\}";
            break;
        case u'\t':
            rtf += "\\tab ";
            break;
        case u'\n':
            rtf += "\\par\n";
            break;
        default:
            // One \uN per UTF-16 code unit, N signed 16-bit, then the one
            // fallback character that \uc1 tells readers to skip.
            rtf += "\\u" + QByteArray::number(qint16(c)) + '?';
        }
    }
    flushPlain(text.size());
}

} // namespace

namespace RtfEncoder {

QByteArray encode(const ReportText &report)
{
    // Colour table: entry 0 is the automatic colour, then the roles in use.
    std::array<int, 4> tableIndex{};
    QByteArray colourTable = "{\\colortbl;";
    int entries = 0;
    for (const ColourEntry &entry : colourEntries) {
        const bool used =
            std::any_of(report.runs().begin(), report.runs().end(),
                        [&entry](const ReportText::Run &run) { return run.colour == entry.role; });
        if (used) {
            colourTable += entry.rgb;
            tableIndex[size_t(entry.role)] = ++entries;
        }
    }
    colourTable += '}';

    // Plain ASCII, the bulk of a report, takes one byte; the rest is escaped.
    QByteArray rtf;
    rtf.reserve(report.text().size() + report.runs().size() * 5 + 256);
    rtf += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
           "{\\fonttbl{\\f0\\fswiss\\fcharset0 Helvetica;}}\n";
    rtf += colourTable;
    rtf += "\n{\\*\\generator Zephlist " ZEPHLIST_VERSION ";}\n"
           "\\pard\\plain\\f0\\fs24\n";
    const std::array<QByteArray, 4> selectColour = {"\\cf0 ", "\\cf1 ", "\\cf2 ", "\\cf3 "};
    int currentColour = -1;
    qsizetype start = 0;
    for (const ReportText::Run &run : report.runs()) {
        const int colour = tableIndex[size_t(run.colour)];
        if (colour != currentColour) {
            rtf += selectColour[size_t(colour)];
            currentColour = colour;
        }
        appendEscaped(rtf, QStringView(report.text()).sliced(start, run.length));
        start += run.length;
    }
    rtf += "}\n";
    return rtf;
}

} // namespace RtfEncoder
