// Caption files: which lines count, which keys and values are taken.
#include "reports/CaptionFile.h"

#include "PalletFixture.h"
#include "core/Globals.h"
#include "reports/ArticleListLayout.h"
#include "reports/CartonLayout.h"
#include "reports/DdtLayout.h"
#include "reports/PalletLayout.h"

#include <QFile>

#include <utility>

#include <gtest/gtest.h>

namespace {

Captions Pallet() { return {{QStringLiteral("BATCH"), QStringLiteral("Batch:")}, {QStringLiteral("SSCC"), QStringLiteral("SSCC:")}}; }

QString Batch(const char* text)
{
    Captions c = Pallet();
    ApplyCaptionText(QString::fromLatin1(text), QStringLiteral("PALLET_MAIN"), c);
    return c.value(QStringLiteral("BATCH"));
}

TEST(CaptionFile, SectionHeaders)
{
    EXPECT_EQ(Batch("[pallet_main]\rBATCH=Lotto\r"), "Lotto") << "letter case";
    EXPECT_EQ(Batch("   [PALLET_MAIN]  \r\nBATCH=Lotto"), "Lotto") << "blanks around";
    EXPECT_EQ(Batch("[ PALLET_MAIN ]\r\nBATCH=Lotto"), "Batch:") << "blanks inside";
    EXPECT_EQ(Batch("[PALLET_MAIN] ; labels\r\nBATCH=Lotto"), "Batch:") << "comment after";
    EXPECT_EQ(Batch("\t[PALLET_MAIN]\r\nBATCH=Lotto"), "Batch:") << "a tab is not a blank";
    EXPECT_EQ(Batch("[CARTON]\r\nBATCH=Lotto"), "Batch:") << "another layout's section";
}

TEST(CaptionFile, Entries)
{
    EXPECT_EQ(Batch("[PALLET_MAIN]\r\nBATCH =Lotto"), "Batch:") << "the key keeps its blank";
    EXPECT_EQ(Batch("[PALLET_MAIN]\r\nbatch=   Lotto:  "), "Lotto:") << "lower-case key, value trimmed";
    EXPECT_EQ(Batch("[PALLET_MAIN]\r\nBATCH="), "") << "empty caption";
    EXPECT_EQ(Batch("[PALLET_MAIN]\r\nBATCH=a=b;c"), "a=b;c") << "first = separates";
    EXPECT_EQ(Batch("[PALLET_MAIN]\r\n;BATCH=x\r\nno equals\r\n\tBATCH=y\r\nBATCH=Lotto"), "Lotto");
    EXPECT_EQ(Batch("[PALLET_MAIN]\r\nBATCH=One\r\nBATCH=Two"), "Two") << "later entries win";
    EXPECT_EQ(Batch("[PALLET_MAIN]\nBATCH=Lotto\n"), "Batch:") << "LF alone does not end a line";
    Captions c = Pallet();
    ApplyCaptionText(QStringLiteral("[PALLET_MAIN]\r\nTITLE=x\r\n"), QStringLiteral("PALLET_MAIN"), c);
    EXPECT_EQ(c, Pallet()) << "keys of other sections are not added";
}

TEST(CaptionFile, RepeatedSections)
{
    EXPECT_EQ(Batch("[PALLET_MAIN]\r\nBATCH=A\r\n[CARTON]\r\nBATCH=C\r\n[PALLET_MAIN]\r\nBATCH=B"), "B");
    // Without another header between them, the second header ends the first section and is consumed.
    EXPECT_EQ(Batch("[PALLET_MAIN]\r\nBATCH=A\r\n[PALLET_MAIN]\r\nBATCH=B"), "A");
}

TEST(CaptionFile, EightBitFiles)
{
    EXPECT_EQ(DecodeTextFile("Qt\xc3\xa0"), QStringLiteral("Qt\u00e0"));
    EXPECT_EQ(DecodeTextFile("Qt\xe0 \x80"), QStringLiteral("Qt\u00e0 \u20ac")) << "Windows-1252";
}

class CaptionFileName : public PalletTest {};

TEST_F(CaptionFileName, NamedByLingua)
{
    EXPECT_TRUE(CaptionFilePath().endsWith(QStringLiteral("/Lang.txt"))) << "null Lingua";
    setOptions({{"Lingua", QStringLiteral("1")}});
    EXPECT_EQ(CaptionFilePath(), folder.file(QStringLiteral("Lang1.txt")));
    Captions c = Pallet();
    LoadCaptions(QStringLiteral("PALLET_MAIN"), c);
    EXPECT_EQ(c, Pallet()) << "no file: defaults";
}

// The files a new data folder is given: each spells every caption of every layout, and with them an
// Italian label reads Italian.
TEST_F(CaptionFileName, SuppliedFilesCaptionEveryLayout)
{
    const std::pair<const char*, Captions> sections[] = {{"PALLET_MAIN", PalletLabelLayout::DefaultCaptions()},
                                                          {"CARTON", CrystalReport2::DefaultCaptions()},
                                                          {"PALLET_AUX", ArticleListLayout::DefaultCaptions()},
                                                          {"DDT_SUMMARY", DeliveryNoteLayout::DefaultCaptions()}};
    for (const QString& lingua : {QStringLiteral("0"), QStringLiteral("1")}) {
        SCOPED_TRACE(lingua.toStdString());
        const QString name = QStringLiteral("Lang") + lingua + QStringLiteral(".txt");
        QFile supplied(QStringLiteral(STIVORA_CAPTIONS_DIR "/") + name);
        ASSERT_TRUE(supplied.open(QIODevice::ReadOnly));
        const QString text = DecodeTextFile(supplied.readAll());
        for (const auto& [section, defaults] : sections) {
            Captions unset = defaults;
            for (QString& caption : unset) caption = QStringLiteral("\x01");
            ApplyCaptionText(text, QString::fromLatin1(section), unset);
            EXPECT_FALSE(unset.values().contains(QStringLiteral("\x01"))) << section << ": " << unset.key(QStringLiteral("\x01")).toStdString();
        }
        ASSERT_TRUE(supplied.copy(folder.file(name)));
        setOptions({{"Lingua", lingua}});
        const auto pallet = ReportLayout::Create<CrystalReport1>();
        const auto carton = ReportLayout::Create<CrystalReport2>();
        const auto list = ReportLayout::Create<CrystalReport8>();
        const auto sheet = ReportLayout::Create<CrystalReport4>();
        if (lingua == u"1") {
            EXPECT_EQ(pallet->captions(), PalletLabelLayout::DefaultCaptions());
            EXPECT_EQ(sheet->captions(), DeliveryNoteLayout::DefaultCaptions());
            continue;
        }
        EXPECT_EQ(pallet->captions().value(QStringLiteral("BATCH")), QStringLiteral("Lotto:"));
        EXPECT_EQ(pallet->captions().value(QStringLiteral("EXPIRE")), QStringLiteral("Scadenza:"));
        EXPECT_EQ(pallet->captions().value(QStringLiteral("GROSS_WEIGTH")), QStringLiteral("Peso lordo:"));
        EXPECT_EQ(carton->captions().value(QStringLiteral("QTY")), QStringLiteral("Quantit\u00e0:"));
        EXPECT_EQ(list->captions().value(QStringLiteral("ART_BATCH_QTY")), QStringLiteral("Articoli / Lotti / Quantit\u00e0:"));
        EXPECT_EQ(sheet->captions().value(QStringLiteral("TITLE")), QStringLiteral("SSCC, articoli e lotti"));
    }
}

} // namespace
