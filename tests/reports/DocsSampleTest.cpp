// Renders the sample pallet label into the folder named by STIVORA_DOCS (docs/ of the source tree),
// as PDF and PNG, so the label's design can be seen; does nothing without it.
#include "PalletFixture.h"

#include "reports/PagePainter.h"
#include "reports/PalletLayout.h"

#include <QDir>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstdlib>

namespace {

void WritePdf(ReportLayout& layout, const QString& path)
{
    const auto& pages = layout.pages();
    QPdfWriter pdf(path);
    pdf.setResolution(600);
    pdf.setPageSize(QPageSize(pages.front().size, QPageSize::Millimeter));
    pdf.setPageMargins(QMarginsF());
    QPainter painter(&pdf);
    PaintPage(painter, pages.front(), pdf.resolution(), pdf.resolution());
}

class PalletLabelDocs : public PalletTest {};

TEST_F(PalletLabelDocs, WritesTheSampleLabel)
{
    const char* dir = std::getenv("STIVORA_DOCS");
    if (!dir) GTEST_SKIP() << "STIVORA_DOCS not set";
    // A heading bitmap as a customer would supply one.
    QImage logo(1635, 270, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter draw(&logo);
    draw.setFont(QFont(QStringLiteral("DejaVu Serif"), 72, QFont::Bold));
    draw.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("CASEIFICIO ESEMPIO S.p.A."));
    draw.end();
    ASSERT_TRUE(logo.save(folder.file(QStringLiteral("logo.bmp")), "BMP"));
    const PalletRow row;
    auto single = ReportLayout::Create<CrystalReport1>();
    single->mainSection().setRows({row.row()});
    auto twoUp = ReportLayout::Create<CrystalReport7>();
    twoUp->Subreport1().setRows({row.row()});
    twoUp->Subreport2().setRows({row.row()});
    const QDir out(QString::fromLocal8Bit(dir));
    WritePdf(*single, out.filePath(QStringLiteral("pallet-label.pdf")));
    WritePdf(*twoUp, out.filePath(QStringLiteral("pallet-label-2up.pdf")));
    EXPECT_TRUE(RenderPage(single->pages().front(), 150).save(out.filePath(QStringLiteral("pallet-label.png"))));
    EXPECT_TRUE(RenderPage(twoUp->pages().front(), 100).save(out.filePath(QStringLiteral("pallet-label-2up.png"))));
}

} // namespace
