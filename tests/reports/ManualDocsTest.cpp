// Renders the operator's manual, docs/manuale.md with the pictures beside it, into docs/manuale.pdf
// when STIVORA_DOCS names the docs folder; does nothing without it. scripts/docs runs it after the
// pictures are drawn. Pictures are centred and fit the page; each chapter starts a page.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>
#include <cstdlib>

namespace {

// Room for a picture, in the document's pixels (1/96 inch): the width of the text on A4 with the
// 2 cm margins the print leaves, and about half a page in height.
constexpr double kPictureWidth = 620;
constexpr double kPictureHeight = 470;

void FitPictures(QTextDocument& doc, const QDir& docs)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage image(docs.filePath(format.name()));
            ASSERT_FALSE(image.isNull()) << "picture " << format.name().toStdString();
            // Held by the document itself: the copy that the print lays out finds no file.
            doc.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
            const double scale = std::min({1.0, kPictureWidth / image.width(), kPictureHeight / image.height()});
            format.setWidth(image.width() * scale);
            format.setHeight(image.height() * scale);
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
            QTextBlockFormat centred = block.blockFormat();
            centred.setAlignment(Qt::AlignHCenter);
            cursor.setBlockFormat(centred);
        }
    }
}

void BreakBeforeChapters(QTextDocument& doc)
{
    bool first = true;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 2) continue;
        if (first) {
            first = false;
            continue;
        }
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    }
}

TEST(ManualDocs, WritesTheManual)
{
    const char* dir = std::getenv("STIVORA_DOCS");
    if (!dir) GTEST_SKIP() << "STIVORA_DOCS not set";
    const QDir docs(QString::fromLocal8Bit(dir));
    QFile source(docs.filePath(QStringLiteral("manuale.md")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));

    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    doc.setMarkdown(QString::fromUtf8(source.readAll()));
    FitPictures(doc, docs);
    BreakBeforeChapters(doc);

    QPdfWriter pdf(docs.filePath(QStringLiteral("manuale.pdf")));
    pdf.setTitle(QStringLiteral("Stivora – Manuale dell'operatore"));
    pdf.setCreator(QStringLiteral("Stivora"));
    pdf.setResolution(300);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF());
    doc.print(&pdf);
    EXPECT_GT(QFileInfo(docs.filePath(QStringLiteral("manuale.pdf"))).size(), 100000);
}

} // namespace
