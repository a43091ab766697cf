#include "RandomInputs.h"
#include "ZbarReader.h"
#include "ZintReference.h"

#include "barcodes/BarcodeRenderer.h"
#include "barcodes/Barcodes.h"

#include <gtest/gtest.h>


namespace {

TEST(Code39Family, WorkedExamples)
{
    EXPECT_EQ(Code39CheckChar("CODE39"), "CODE39W");
    EXPECT_EQ(EncodeCode39Full("a-b", false), "#+A/M+B#");
    EXPECT_EQ(EncodeCode39Full("a b", false), "#+A_+B#");
    EXPECT_EQ(EncodeCode39Full(std::string("a") + static_cast<char>(200), false), "");
    EXPECT_EQ(EncodeCode39Full("\\x7F\\000@`", false), "#%T%U%V%W#");
    EXPECT_EQ(EncodeCode93Full("a", false), "*dA#");
    EXPECT_EQ(EncodeCode93Full("a", true), "*" + Code93CheckChars("dA") + "#");
    EXPECT_EQ(EncodeCode93Full(std::string(1, '\0') + "\x01:;[{", false), "*bUaAcZbFbKbP#");
    EXPECT_EQ(Code32CheckDigit("01234567"), "012345676");
    EXPECT_EQ(EncodeCode32("000000000"), "*BBBBBB#");
    // The most significant base-32 digit comes first.
    EXPECT_EQ(EncodeCode32("000000033"), "*BBBBCC#");
}

std::string SpaceForUnderscore(std::string s)
{
    for (char& c : s)
        c = c == '_' ? ' ' : c;
    return s;
}

TEST(Code39Family, Code39AndCode93ScanBack)
{
    const std::string set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-.$/+%";
    std::mt19937 random(39);
    for (int n = 0; n < 80; ++n) {
        const std::string data = RandomFrom(random, set + "_", 1 + static_cast<int>(random() % 16));
        // zbar keeps the Code 39 check character and checks and drops the two of Code 93.
        ExpectScans(data, "C39", zbar::ZBAR_CODE39, SpaceForUnderscore(Code39CheckChar(data)));
        ExpectScans(data, "C93", zbar::ZBAR_CODE93, SpaceForUnderscore(data));
    }
}

TEST(Code39Family, FullAsciiScansBack)
{
    std::string ascii;
    for (int c = 1; c < 128; ++c)
        if (c != '\\')
            ascii += static_cast<char>(c);
    std::mt19937 random(93);
    for (int n = 0; n < 80; ++n) {
        const std::string data = RandomFrom(random, ascii, 1 + static_cast<int>(random() % 12));
        ExpectScans(data, "C93FULL", zbar::ZBAR_CODE93, data);
        // zbar reads Code 39 without the full-ASCII pairs: the pairs come back as sent.
        const std::string font = EncodeBarcode(data, "C39FULL", false);
        ExpectScans(data, "C39FULL", zbar::ZBAR_CODE39, SpaceForUnderscore(Code39CheckChar(font.substr(1, font.size() - 2))));
    }
    ExpectScans("a\\\\b", "C93FULL", zbar::ZBAR_CODE93, "a\\b");
}

TEST(Code39Family, FullAsciiAndCode32MatchZint)
{
    if (!ZintAvailable())
        GTEST_SKIP() << "zint is not installed";
    // zint sends the hyphen and the full stop as themselves, we as /M and /N: leave them out here.
    std::string ascii;
    for (int c = 32; c < 127; ++c)
        if (c != '\\' && c != '-' && c != '.' && c != '\'')
            ascii += static_cast<char>(c);
    std::mt19937 random(32);
    for (int n = 0; n < 20; ++n) {
        const std::string data = RandomFrom(random, ascii, 1 + static_cast<int>(random() % 10));
        EXPECT_EQ(ElementClasses(BarcodeModules(EncodeBarcode(data, "C39FULL", true), "C39FULL")),
                  ElementClasses(ZintRow(9, data, "--vers=1")))
            << data;
        const std::string pharma = RandomFrom(random, "0123456789", 8);
        const std::string font = EncodeBarcode(pharma, "C32HRC", true);
        EXPECT_EQ(ElementClasses(BarcodeModules(font, "C32HRC")), ElementClasses(ZintRow(129, pharma))) << pharma;
        EXPECT_EQ(BarcodeModules(font, "C32HRC"), BarcodeModules(EncodeBarcode(pharma, "C32", true), "C32"));
        EXPECT_EQ(BarcodeHumanReadable(font, "C32HRC"), "A" + Code32CheckDigit(pharma));
    }
}

} // namespace
