// Build tool: renders the help's Markdown source as a PDF.
// helppdf SOURCE.md OUTPUT.pdf

#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // runs headless during the build
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: helppdf SOURCE.md OUTPUT.pdf\n", stderr);
        return 64;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "helppdf: cannot read %s: %s\n", argv[1],
                     qPrintable(source.errorString()));
        return 1;
    }
    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    QFont font = document.defaultFont();
    font.setPointSizeF(11);
    document.setDefaultFont(font);

    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setTitle(QStringLiteral("Zephlist Help"));
    pdf.setCreator(QStringLiteral("Zephlist"));
    pdf.setPageSize(QPageSize(QPageSize::A5));
    pdf.setPageMargins(QMarginsF(14, 14, 14, 14), QPageLayout::Millimeter);
    document.print(&pdf);
    return 0;
}
