// Build tool: renders the help's Markdown source as a PDF.
// helppdf SOURCE.md OUTPUT.pdf [IMAGE.png...]
// Each image is found by its file name, as the Markdown names it, and drawn
// as wide as the page. The PDF has an outline of the headings.

#include "pdfoutline.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

#include <cstdio>

namespace {

// Pictures as wide as the page's text, whatever their size in pixels.
void fitImagesToPage(QTextDocument &document, QPdfWriter &pdf)
{
    // A little less than the width print() lays the text out in.
    const qreal textWidth = pdf.pageLayout().paintRect(QPageLayout::Point).width();
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            QTextImageFormat image = fragment.fragment().charFormat().toImageFormat();
            if (!image.isValid())
                continue;
            const QImage picture =
                document.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
            if (picture.isNull())
                continue;
            image.setWidth(textWidth);
            image.setHeight(textWidth * picture.height() / picture.width());
            cursor.setPosition(fragment.fragment().position());
            cursor.setPosition(fragment.fragment().position() + fragment.fragment().length(),
                               QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // runs headless during the build
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: helppdf SOURCE.md OUTPUT.pdf [IMAGE.png...]\n", stderr);
        return 64;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "helppdf: cannot read %s: %s\n", argv[1],
                     qPrintable(source.errorString()));
        return 1;
    }
    QTextDocument document;
    for (int i = 3; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QImage image(path);
        if (image.isNull()) {
            std::fprintf(stderr, "helppdf: cannot read the image %s\n", argv[i]);
            return 1;
        }
        document.addResource(QTextDocument::ImageResource, QUrl(QFileInfo(path).fileName()), image);
    }
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    QFont font = document.defaultFont();
    font.setPointSizeF(11);
    document.setDefaultFont(font);

    // Printed into memory first: the file is written only once its outline
    // is added, so a failed build leaves no PDF without one.
    QBuffer printed;
    printed.open(QIODevice::WriteOnly);
    std::optional<PdfOutline> outline;
    {
        QPdfWriter pdf(&printed);
        pdf.setTitle(QStringLiteral("Zephlist Help"));
        pdf.setCreator(QStringLiteral("Zephlist"));
        pdf.setPageSize(QPageSize(QPageSize::A5));
        pdf.setPageMargins(QMarginsF(14, 14, 14, 14), QPageLayout::Millimeter);
        fitImagesToPage(document, pdf);
        outline = PdfOutline::ofPrinted(document, pdf);
        document.print(&pdf);
    }
    QByteArray bytes = printed.data();
    if (const std::optional<QString> failure = outline->appendTo(bytes)) {
        std::fprintf(stderr, "helppdf: cannot add the outline to the printed help: %s\n",
                     qPrintable(*failure));
        return 1;
    }
    QSaveFile output(QString::fromLocal8Bit(argv[2]));
    if (!output.open(QIODevice::WriteOnly) || output.write(bytes) != bytes.size() ||
        !output.commit()) {
        std::fprintf(stderr, "helppdf: cannot write %s: %s\n", argv[2],
                     qPrintable(output.errorString()));
        return 1;
    }
    return 0;
}
