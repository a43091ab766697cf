// Caption files: which lines count, which keys and values are taken.
#include "reports/CaptionFile.h"

#include "PalletFixture.h"
#include "core/Globals.h"

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

} // namespace
