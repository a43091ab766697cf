// The delivery-note summary layout: its captions, its heading picture, and the sample sheet in docs/.
#include "PalletFixture.h"

#include "reports/DdtLayout.h"
#include "reports/PagePainter.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QPainter>

#include <cstdlib>

namespace {

ReportRow SampleSheet()
{
    ReportRow row{{QStringLiteral("numeroddt"), QStringLiteral("DDT 2024/118")}, {QStringLiteral("data"), QStringLiteral("14/06/24")}};
    const char* lots[] = {"L2406A", "L2406A", "L2406B", "L2405C"};
    for (int n = 1; n <= 4; ++n) {
        const QString k = QString::number(n);
        row.insert(QStringLiteral("sscc") + k, QStringLiteral("38012345000000%1").arg(n * 7, 4, 10, QLatin1Char('0')));
        row.insert(QStringLiteral("gtin") + k, QStringLiteral("18012345000019"));
        row.insert(QStringLiteral("qtcartoni") + k, QStringLiteral("40"));
        row.insert(QStringLiteral("lotto") + k, QString::fromLatin1(lots[n - 1]));
        row.insert(QStringLiteral("datascadenza") + k, QStringLiteral("30/06/24"));
    }
    return row;
}

QHash<QString, const DrawItem*> Items(const FormattedPage& page)
{
    QHash<QString, const DrawItem*> out;
    for (const DrawItem& item : page.items) out.insert(item.name, &item);
    return out;
}

void WriteLogo(const QString& path, const QString& text)
{
    QImage logo(1635, 486, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter draw(&logo);
    draw.setFont(QFont(QStringLiteral("DejaVu Serif"), 72, QFont::Bold));
    draw.drawText(logo.rect(), Qt::AlignCenter, text);
    draw.end();
    ASSERT_TRUE(logo.save(path, "BMP"));
}

class DeliveryNoteLayoutTest : public PalletTest {};

TEST_F(DeliveryNoteLayoutTest, CaptionsComeFromTheirOwnSectionOfTheCaptionFile)
{
    QFile lang(folder.file(QStringLiteral("Lang.txt")));
    ASSERT_TRUE(lang.open(QIODevice::WriteOnly));
    lang.write("[PALLET_MAIN]\r\nSSCC=Codice:\r\n[DDT_SUMMARY]\r\nTITLE=Pallet, articoli e lotti\r\nQT_TITLE=Colli\r\n");
    lang.close();
    auto layout = ReportLayout::Create<CrystalReport4>();
    layout->mainSection().setRows({SampleSheet()});
    const auto items = Items(layout->pages().front());
    EXPECT_EQ(items.value(QStringLiteral("lblTitolo"))->text, QStringLiteral("Pallet, articoli e lotti"));
    EXPECT_EQ(items.value(QStringLiteral("lblQt"))->text, QStringLiteral("Colli"));
    EXPECT_EQ(items.value(QStringLiteral("lblSSCC"))->text, QStringLiteral("SSCC")) << "the pallet label's SSCC is not the column title";
    EXPECT_EQ(items.value(QStringLiteral("lblExpire"))->text, QStringLiteral("Exp. date"));
}

TEST_F(DeliveryNoteLayoutTest, OnlyLogo2IsTheHeadingPicture)
{
    WriteLogo(folder.file(QStringLiteral("LOGO.BMP")), QStringLiteral("Etichette"));
    auto without = ReportLayout::Create<CrystalReport4>();
    without->mainSection().setRows({SampleSheet()});
    EXPECT_FALSE(Items(without->pages().front()).contains(QStringLiteral("Logo")));

    WriteLogo(folder.file(QStringLiteral("Logo2.bmp")), QStringLiteral("DDT"));
    auto with = ReportLayout::Create<CrystalReport4>();
    with->mainSection().setRows({SampleSheet()});
    const DrawItem* logo = Items(with->pages().front()).value(QStringLiteral("Logo"));
    ASSERT_TRUE(logo);
    EXPECT_FALSE(logo->picture.isNull());
    EXPECT_NEAR(logo->rect.height(), 2430 / 56.692913385827, 0.01);
}

class DeliveryNoteLayoutDocs : public DeliveryNoteLayoutTest {};

TEST_F(DeliveryNoteLayoutDocs, WritesTheSampleSheet)
{
    const char* dir = std::getenv("STIVORA_DOCS");
    if (!dir) GTEST_SKIP() << "STIVORA_DOCS not set";
    WriteLogo(folder.file(QStringLiteral("logo2.bmp")), QStringLiteral("CASEIFICIO ESEMPIO S.p.A."));
    auto layout = ReportLayout::Create<CrystalReport4>();
    layout->mainSection().setRows({SampleSheet()});
    EXPECT_TRUE(RenderPage(layout->pages().front(), 150).save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("ddt-summary.png"))));
}

} // namespace
