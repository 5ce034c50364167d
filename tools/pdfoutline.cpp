#include "pdfoutline.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QHash>
#include <QPagedPaintDevice>
#include <QScreen>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>
#include <climits>
#include <memory>
#include <string_view>
#include <variant>

namespace {

// The PDF is read only as far as the outline needs: its cross-reference
// table, its trailer, its catalog and its page tree (ISO 32000-1, 7.5).

// A dictionary's entries: each key without its slash, and its value as written.
using Entries = QList<std::pair<QByteArray, QByteArray>>;

struct Reference
{
    int number = 0;
    int generation = 0;
};

// Where each object of the one cross-reference table lies, and the trailer.
struct CrossReferences
{
    qsizetype offset = 0;                          // of the table
    QHash<int, std::pair<qsizetype, int>> objects; // offset and generation
    Entries trailer;
};

constexpr int deepestNesting = 64; // of dictionaries and arrays

bool isSpace(char c)
{
    return std::string_view(" \n\r\t\f\0", 6).find(c) != std::string_view::npos;
}

bool isDelimiter(char c)
{
    return isSpace(c) || std::string_view("()<>[]{}/%").find(c) != std::string_view::npos;
}

qsizetype skipSpace(QByteArrayView pdf, qsizetype at)
{
    while (at < pdf.size()) {
        if (pdf[at] == '%') {
            while (at < pdf.size() && pdf[at] != '\n' && pdf[at] != '\r')
                ++at;
        } else if (isSpace(pdf[at])) {
            ++at;
        } else {
            break;
        }
    }
    return at;
}

qsizetype tokenEnd(QByteArrayView pdf, qsizetype at)
{
    while (at < pdf.size() && !isDelimiter(pdf[at]))
        ++at;
    return at;
}

std::optional<qint64> integer(QByteArrayView token)
{
    bool ok = false;
    const qint64 value = QByteArray(token.data(), token.size()).toLongLong(&ok);
    return ok && value >= 0 ? std::optional(value) : std::nullopt;
}

// The integer that starts at `at`, and where it ends.
std::optional<std::pair<qint64, qsizetype>> integerAt(QByteArrayView pdf, qsizetype at)
{
    at = skipSpace(pdf, at);
    const qsizetype end = tokenEnd(pdf, at);
    const std::optional<qint64> value = integer(pdf.sliced(at, end - at));
    return value ? std::optional(std::pair(*value, end)) : std::nullopt;
}

std::optional<qsizetype> endOfValue(QByteArrayView pdf, qsizetype at, int depth);

// Reads the dictionary at `at` into `entries` when given; returns where it ends.
std::optional<qsizetype> readDictionary(QByteArrayView pdf, qsizetype at, int depth,
                                        Entries *entries)
{
    at = skipSpace(pdf, at);
    if (depth > deepestNesting || !pdf.sliced(at).startsWith("<<"))
        return {};
    for (at += 2;;) {
        at = skipSpace(pdf, at);
        if (pdf.sliced(at).startsWith(">>"))
            return at + 2;
        if (at >= pdf.size() || pdf[at] != '/')
            return {};
        const qsizetype keyEnd = tokenEnd(pdf, at + 1);
        const qsizetype valueStart = skipSpace(pdf, keyEnd);
        const std::optional<qsizetype> valueEnd = endOfValue(pdf, valueStart, depth + 1);
        if (!valueEnd)
            return {};
        if (entries)
            entries->append({pdf.sliced(at + 1, keyEnd - at - 1).toByteArray(),
                             pdf.sliced(valueStart, *valueEnd - valueStart).toByteArray()});
        at = *valueEnd;
    }
}

// Where the value that starts at `at` ends: a dictionary, an array, a string,
// a name, a reference ("12 0 R") or any other single token.
std::optional<qsizetype> endOfValue(QByteArrayView pdf, qsizetype at, int depth)
{
    at = skipSpace(pdf, at);
    if (at >= pdf.size() || depth > deepestNesting)
        return {};
    switch (pdf[at]) {
    case '<':
        if (pdf.sliced(at).startsWith("<<"))
            return readDictionary(pdf, at, depth, nullptr);
        for (qsizetype end = at + 1; end < pdf.size(); ++end) {
            if (pdf[end] == '>')
                return end + 1;
        }
        return {};
    case '[':
        for (++at;;) {
            at = skipSpace(pdf, at);
            if (at < pdf.size() && pdf[at] == ']')
                return at + 1;
            const std::optional<qsizetype> end = endOfValue(pdf, at, depth + 1);
            if (!end)
                return {};
            at = *end;
        }
    case '(': // balanced parentheses may stand unescaped in a string
        for (int open = 0; at < pdf.size(); ++at) {
            if (pdf[at] == '\\')
                ++at;
            else if (pdf[at] == '(')
                ++open;
            else if (pdf[at] == ')' && --open == 0)
                return at + 1;
        }
        return {};
    case '/':
        return tokenEnd(pdf, at + 1);
    default:
        break;
    }
    const qsizetype end = tokenEnd(pdf, at);
    if (end == at)
        return {};
    // "12 0 R" is one value, a reference.
    if (integer(pdf.sliced(at, end - at))) {
        if (const auto generation = integerAt(pdf, end)) {
            const qsizetype r = skipSpace(pdf, generation->second);
            if (tokenEnd(pdf, r) == r + 1 && pdf[r] == 'R')
                return r + 1;
        }
    }
    return end;
}

std::optional<QByteArray> valueOf(const Entries &entries, QByteArrayView key)
{
    for (const auto &[name, value] : entries) {
        if (name == key)
            return value;
    }
    return {};
}

Entries without(Entries entries, std::initializer_list<QByteArrayView> keys)
{
    entries.removeIf([keys](const auto &entry) {
        return std::find(keys.begin(), keys.end(), entry.first) != keys.end();
    });
    return entries;
}

// The references in a value: one ("2 0 R"), or an array of them.
std::optional<QList<Reference>> referencesIn(QByteArray value)
{
    if (value.startsWith('[') && value.endsWith(']'))
        value = value.sliced(1, value.size() - 2);
    const QList<QByteArray> words = value.simplified().split(' ');
    if (words.size() % 3 != 0)
        return {};
    QList<Reference> references;
    for (qsizetype i = 0; i < words.size(); i += 3) {
        const std::optional<qint64> number = integer(words[i]);
        const std::optional<qint64> generation = integer(words[i + 1]);
        if (!number || !generation || words[i + 2] != "R" || *number > INT_MAX ||
            *generation > 65535)
            return {};
        references.append({int(*number), int(*generation)});
    }
    return references;
}

std::optional<Reference> referenceIn(const std::optional<QByteArray> &value)
{
    const auto references = value ? referencesIn(*value) : std::nullopt;
    return references && references->size() == 1 ? std::optional(references->first())
                                                 : std::nullopt;
}

// The cross-reference table that the end of the file points to, with its trailer.
std::variant<CrossReferences, QString> readCrossReferences(QByteArrayView pdf)
{
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    const auto offset = startxref < 0 ? std::nullopt : integerAt(pdf, startxref + 9);
    if (!offset || offset->first >= pdf.size())
        return QStringLiteral("it does not end in the offset of a cross-reference table");
    CrossReferences table;
    table.offset = qsizetype(offset->first);
    qsizetype at = table.offset;
    if (!pdf.sliced(at).startsWith("xref"))
        return QStringLiteral("no cross-reference table where its end points (at %1)")
            .arg(table.offset);
    for (at += 4;;) {
        at = skipSpace(pdf, at);
        if (pdf.sliced(at).startsWith("trailer"))
            break;
        const auto first = integerAt(pdf, at);
        const auto count = first ? integerAt(pdf, first->second) : std::nullopt;
        if (!count)
            return QStringLiteral("its cross-reference table is damaged");
        at = count->second;
        for (qint64 i = 0; i < count->first; ++i) {
            const auto objectOffset = integerAt(pdf, at);
            const auto generation =
                objectOffset ? integerAt(pdf, objectOffset->second) : std::nullopt;
            const qsizetype type = generation ? skipSpace(pdf, generation->second) : pdf.size();
            if (type >= pdf.size() || (pdf[type] != 'n' && pdf[type] != 'f'))
                return QStringLiteral("its cross-reference table is damaged");
            if (pdf[type] == 'n' && first->first + i <= INT_MAX)
                table.objects.insert(int(first->first + i),
                                     {qsizetype(objectOffset->first), int(generation->first)});
            at = type + 1;
        }
    }
    if (!readDictionary(pdf, at + 7, 0, &table.trailer))
        return QStringLiteral("its trailer is damaged");
    if (valueOf(table.trailer, "Prev") || valueOf(table.trailer, "Encrypt"))
        return QStringLiteral("it has been updated or encrypted since it was written");
    return table;
}

// The dictionary of an object that the table lists.
std::optional<Entries> objectDictionary(QByteArrayView pdf, const CrossReferences &table,
                                        Reference object)
{
    const auto where = table.objects.constFind(object.number);
    if (where == table.objects.cend() || where->second != object.generation ||
        where->first >= pdf.size())
        return {};
    const auto number = integerAt(pdf, where->first);
    const auto generation = number ? integerAt(pdf, number->second) : std::nullopt;
    if (!generation || number->first != object.number)
        return {};
    const qsizetype keyword = skipSpace(pdf, generation->second);
    if (!pdf.sliced(keyword).startsWith("obj"))
        return {};
    Entries entries;
    if (!readDictionary(pdf, keyword + 3, 0, &entries))
        return {};
    return entries;
}

// The pages under a node of the page tree, in their order. A node met twice
// makes a loop, which would never end.
std::optional<QString> collectPages(QByteArrayView pdf, const CrossReferences &table,
                                    Reference node, QSet<int> &met, QList<Reference> &pages)
{
    const std::optional<Entries> entries = objectDictionary(pdf, table, node);
    if (!entries || met.contains(node.number))
        return QStringLiteral("its page tree is damaged at object %1").arg(node.number);
    met.insert(node.number);
    if (valueOf(*entries, "Type") == "/Page") {
        pages.append(node);
        return {};
    }
    const std::optional<QByteArray> kids = valueOf(*entries, "Kids");
    const auto children = kids ? referencesIn(*kids) : std::nullopt;
    if (!children)
        return QStringLiteral("object %1 is neither a page nor a list of pages").arg(node.number);
    for (const Reference child : *children) {
        if (std::optional<QString> failure = collectPages(pdf, table, child, met, pages))
            return failure;
    }
    return {};
}

// A text string as PDF readers take it: ASCII as it is, anything else in
// UTF-16 big-endian after a byte order mark.
QByteArray textString(const QString &text)
{
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7f;
    });
    if (!ascii) {
        QByteArray utf16 = "<FEFF";
        for (const QChar c : text)
            utf16 += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
        return utf16 + '>';
    }
    QByteArray literal = "(";
    for (const QChar c : text) {
        if (c == u'(' || c == u')' || c == u'\\')
            literal += '\\';
        literal += char(c.unicode());
    }
    return literal + ')';
}

QByteArray reference(int number, int generation = 0)
{
    return QByteArray::number(number) + ' ' + QByteArray::number(generation) + " R";
}

QByteArray dictionary(const Entries &entries)
{
    QByteArray text = "<<";
    for (const auto &[key, value] : entries)
        text += "\n/" + key + ' ' + value;
    return text + "\n>>";
}

// How the headings nest: each one's parent (-1 for none) and children.
struct Tree
{
    QList<int> parent;
    QList<QList<int>> children; // the top level last
    int descendants(int heading) const
    {
        int count = 0;
        for (const int child : children[heading])
            count += 1 + descendants(child);
        return count;
    }
};

Tree treeOf(const QList<PdfOutline::Heading> &headings)
{
    Tree tree;
    tree.children.resize(headings.size() + 1);
    QList<int> open; // the headings the next one may nest in, deepest last
    for (int i = 0; i < headings.size(); ++i) {
        while (!open.isEmpty() && headings[open.last()].level >= headings[i].level)
            open.removeLast();
        tree.parent.append(open.isEmpty() ? -1 : open.last());
        tree.children[open.isEmpty() ? headings.size() : open.last()].append(i);
        open.append(i);
    }
    return tree;
}

QString titleOf(const QTextBlock &block)
{
    return block.text().replace(QChar::LineSeparator, u' ').simplified();
}

} // namespace

PdfOutline::PdfOutline(QList<Heading> headings)
    : m_headings(std::move(headings))
{}

PdfOutline PdfOutline::ofPrinted(const QTextDocument &document, QPagedPaintDevice &printer)
{
    // print() lays a document without a page size of its own out anew: a copy
    // on the printer's pages, inside margins of 2 cm that it counts in pixels
    // of the screen.
    const std::unique_ptr<QTextDocument> printed(document.clone());
    printed->documentLayout()->setPaintDevice(&printer);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal horizontalDpi = screen ? qRound(screen->logicalDotsPerInchX()) : 100;
    const qreal verticalDpi = screen ? qRound(screen->logicalDotsPerInchY()) : 100;
    QTextFrameFormat frame = printed->rootFrame()->frameFormat();
    frame.setLeftMargin(int(2 / 2.54 * horizontalDpi));
    frame.setRightMargin(int(2 / 2.54 * horizontalDpi));
    frame.setTopMargin(int(2 / 2.54 * verticalDpi));
    frame.setBottomMargin(int(2 / 2.54 * verticalDpi));
    printed->rootFrame()->setFrameFormat(frame);
    printed->setPageSize(QSizeF(printer.width(), printer.height()));
    printed->documentLayout()->documentSize(); // lays it all out

    QList<Heading> headings;
    for (QTextBlock block = printed->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        const QTextLayout *lines = block.layout();
        if (level == 0 || lines->lineCount() == 0)
            continue;
        // A heading's first line goes to the next page when it does not fit;
        // the block's own position may stay on the page before. Markdown's
        // headings lie in the root frame, whose position is the origin.
        const qreal top = lines->position().y() + lines->lineAt(0).y();
        headings.append({titleOf(block), level, int(top / printed->pageSize().height())});
    }
    return PdfOutline(headings);
}

std::optional<QString> PdfOutline::appendTo(QByteArray &pdf) const
{
    if (m_headings.isEmpty())
        return {};
    if (!pdf.startsWith("%PDF-"))
        return QStringLiteral("it is not a PDF");
    const auto read = readCrossReferences(pdf);
    if (const QString *failure = std::get_if<QString>(&read))
        return *failure;
    const auto &table = std::get<CrossReferences>(read);
    const std::optional<qint64> size = integer(valueOf(table.trailer, "Size").value_or(""));
    const std::optional<Reference> root = referenceIn(valueOf(table.trailer, "Root"));
    const std::optional<Entries> catalog =
        root ? objectDictionary(pdf, table, *root) : std::nullopt;
    if (!size || *size > INT_MAX - m_headings.size() - 1 || !catalog ||
        valueOf(*catalog, "Type") != "/Catalog")
        return QStringLiteral("its trailer names no catalog");
    const std::optional<Reference> pageTree = referenceIn(valueOf(*catalog, "Pages"));
    if (!pageTree)
        return QStringLiteral("its catalog names no pages");
    QList<Reference> pages;
    QSet<int> met;
    if (std::optional<QString> failure = collectPages(pdf, table, *pageTree, met, pages))
        return failure;
    for (const Heading &heading : m_headings) {
        if (heading.page < 0 || heading.page >= pages.size())
            return QStringLiteral("the heading \"%1\" is on page %2 of a PDF of %3 pages")
                .arg(heading.title)
                .arg(heading.page + 1)
                .arg(pages.size());
    }

    // The new objects: the outline, then its items in the headings' order.
    const int outline = int(*size);
    const auto item = [outline](int heading) { return reference(outline + 1 + heading); };
    const Tree tree = treeOf(m_headings);
    const QList<int> &topLevel = tree.children.last();
    QList<QByteArray> objects;
    objects.append(dictionary({{"Type", "/Outlines"},
                               {"First", item(topLevel.first())},
                               {"Last", item(topLevel.last())},
                               {"Count", QByteArray::number(m_headings.size())}}));
    for (int i = 0; i < m_headings.size(); ++i) {
        const int parent = tree.parent[i];
        const QList<int> &siblings = tree.children[parent < 0 ? m_headings.size() : parent];
        const qsizetype place = siblings.indexOf(i);
        const Reference page = pages[m_headings[i].page];
        Entries entries{
            {"Title", textString(m_headings[i].title)},
            {"Parent", parent < 0 ? reference(outline) : item(parent)},
            {"Dest", '[' + reference(page.number, page.generation) + " /XYZ null null null]"}};
        if (place > 0)
            entries.append({"Prev", item(siblings[place - 1])});
        if (place + 1 < siblings.size())
            entries.append({"Next", item(siblings[place + 1])});
        if (const QList<int> &children = tree.children[i]; !children.isEmpty()) {
            // A positive count opens the heading: every heading is shown.
            entries += {{"First", item(children.first())},
                        {"Last", item(children.last())},
                        {"Count", QByteArray::number(tree.descendants(i))}};
        }
        objects.append(dictionary(entries));
    }
    const Entries newCatalog =
        without(*catalog, {"Outlines", "PageMode"}) +
        Entries{{"Outlines", reference(outline)}, {"PageMode", "/UseOutlines"}};

    // The update: the objects, a table of where they lie and a trailer that
    // leads back to the table before.
    QByteArray update = pdf.endsWith('\n') ? "" : "\n";
    const auto write = [&](int number, int generation, const QByteArray &object) {
        const qsizetype offset = pdf.size() + update.size();
        update += QByteArray::number(number) + ' ' + QByteArray::number(generation) + " obj\n" +
                  object + "\nendobj\n";
        return QByteArray::number(offset).rightJustified(10, '0') + ' ' +
               QByteArray::number(generation).rightJustified(5, '0') + " n \n";
    };
    const QByteArray catalogEntry = write(root->number, root->generation, dictionary(newCatalog));
    QByteArray newEntries;
    for (int i = 0; i < objects.size(); ++i)
        newEntries += write(outline + i, 0, objects[i]);
    const qsizetype tableOffset = pdf.size() + update.size();
    const Entries trailer = without(table.trailer, {"Size", "Prev"}) +
                            Entries{{"Size", QByteArray::number(outline + objects.size())},
                                    {"Prev", QByteArray::number(table.offset)}};
    update += "xref\n" + QByteArray::number(root->number) + " 1\n" + catalogEntry +
              QByteArray::number(outline) + ' ' + QByteArray::number(objects.size()) + '\n' +
              newEntries + "trailer\n" + dictionary(trailer) + "\nstartxref\n" +
              QByteArray::number(tableOffset) + "\n%%EOF\n";
    pdf += update;
    return {};
}
