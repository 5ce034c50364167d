#include "pdfoutline.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <memory>
#include <vector>

namespace {

// One more heading under `node`, the outline or a heading: a positive count
// opens the heading, so every heading is shown.
void countOneMore(QPDFObjectHandle node)
{
    const long long count = node.hasKey("/Count") ? node.getKey("/Count").getIntValue() : 0;
    node.replaceKey("/Count", QPDFObjectHandle::newInteger(count + 1));
}

// Links `item` in as the last child of `parent`.
void appendChild(QPDFObjectHandle parent, QPDFObjectHandle item)
{
    item.replaceKey("/Parent", parent);
    if (parent.hasKey("/Last")) {
        QPDFObjectHandle previous = parent.getKey("/Last");
        previous.replaceKey("/Next", item);
        item.replaceKey("/Prev", previous);
    } else {
        parent.replaceKey("/First", item);
    }
    parent.replaceKey("/Last", item);
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
    QByteArray outlined;
    try {
        QPDF document;
        document.setSuppressWarnings(true); // each one fails it, below
        document.processMemoryFile("the printed PDF", pdf.constData(), size_t(pdf.size()));
        std::vector<QPDFObjectHandle> pages;
        for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(document).getAllPages())
            pages.push_back(page.getObjectHandle());
        for (const Heading &heading : m_headings) {
            if (heading.page < 0 || size_t(heading.page) >= pages.size())
                return QStringLiteral("the heading \"%1\" is on page %2 of a PDF of %3 pages")
                    .arg(heading.title)
                    .arg(heading.page + 1)
                    .arg(pages.size());
        }

        QPDFObjectHandle outline = document.makeIndirectObject(QPDFObjectHandle::newDictionary());
        outline.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
        struct Open
        {
            QPDFObjectHandle item;
            int level = 0;
        };
        std::vector<Open> open; // the headings the next one may nest in, deepest last
        for (const Heading &heading : m_headings) {
            while (!open.empty() && open.back().level >= heading.level)
                open.pop_back();
            QPDFObjectHandle item = document.makeIndirectObject(QPDFObjectHandle::newDictionary());
            item.replaceKey("/Title",
                            QPDFObjectHandle::newUnicodeString(heading.title.toStdString()));
            item.replaceKey("/Dest",
                            QPDFObjectHandle::newArray(
                                {pages[size_t(heading.page)], QPDFObjectHandle::newName("/XYZ"),
                                 QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull(),
                                 QPDFObjectHandle::newNull()}));
            appendChild(open.empty() ? outline : open.back().item, item);
            countOneMore(outline);
            for (const Open &ancestor : open)
                countOneMore(ancestor.item);
            open.push_back({item, heading.level});
        }
        QPDFObjectHandle catalog = document.getRoot();
        catalog.replaceKey("/Outlines", outline);
        catalog.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));

        QPDFWriter writer(document);
        writer.setOutputMemory();
        writer.write();
        // A PDF qpdf had to mend is not what Qt wrote: a fault to find, not
        // to ship mended.
        if (document.anyWarnings())
            return QString::fromLocal8Bit(document.getWarnings().front().what());
        const std::shared_ptr<Buffer> written = writer.getBufferSharedPointer();
        outlined = QByteArray(reinterpret_cast<const char *>(written->getBuffer()),
                              qsizetype(written->getSize()));
    } catch (const std::exception &failure) { // qpdf's QPDFExc among them
        return QString::fromLocal8Bit(failure.what());
    }
    pdf = outlined;
    return {};
}
