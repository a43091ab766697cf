#include "barcodes/Barcodes.h"

#include <gtest/gtest.h>

namespace {

std::string Chars(std::initializer_list<int> codes)
{
    std::string s;
    for (int c : codes)
        s += static_cast<char>(c);
    return s;
}

TEST(BarcodeDispatch, KeywordIsCaseInsensitiveButNotTrimmed)
{
    EXPECT_EQ(EncodeBarcode("4006381333931", "ean13", false), "4|aAgdIB!pppvpn|");
    EXPECT_EQ(EncodeBarcode("4006381333931", " EAN13", false), "");
    EXPECT_EQ(EncodeBarcode("4006381333931", "EAN13 ", false), "");
    EXPECT_EQ(EncodeBarcode("123", "NOSUCH", true), "");
}

TEST(BarcodeDispatch, EanLimitsAndFilling)
{
    EXPECT_EQ(EncodeBarcode("", "EAN13", true), "0|aaaaaa!mmmmmm|");
    EXPECT_EQ(EncodeBarcode("400638133393", "EAN13", true), "4|aAgdIB!pppvpn|");
    EXPECT_EQ(EncodeBarcode("4006381333931", "EAN13", true), "");
    // A wrong check digit that the caller brings stands as given.
    EXPECT_EQ(EncodeBarcode("4006381333935", "EAN13", false), "4|aAgdIB!pppvpr|");
    EXPECT_EQ(EncodeBarcode("12a", "EAN13", true), "");
    EXPECT_EQ(EncodeBarcode("1234567", "UPCE", true), EncodeUpcE(UpcECheckDigit("1234567")));
    EXPECT_EQ(EncodeBarcode("2234567", "UPCE", true), "");
    EXPECT_EQ(EncodeBarcode("123456", "UPCE", true), EncodeUpcE("01234565"));
    EXPECT_EQ(EncodeBarcode("12345678", "UPCE", true), "");
    EXPECT_EQ(EncodeBarcode("123", "ADD2", true), "");
    EXPECT_EQ(EncodeBarcode("2", "ADD2", false), EncodeAddOn2("02"));
}

TEST(BarcodeDispatch, PostnetFillsToZipLengths)
{
    EXPECT_EQ(EncodeBarcode("12345", "POSTNET", true), "*123455#");
    EXPECT_EQ(EncodeBarcode("1234567", "POSTNET", true), "*" + PostnetCheckDigit("001234567") + "#");
    EXPECT_EQ(EncodeBarcode("1234567890", "POSTNET", true), "*" + PostnetCheckDigit("01234567890") + "#");
    EXPECT_EQ(EncodeBarcode("123456789012", "POSTNET", true), "");
    EXPECT_EQ(EncodeBarcode("123456789012", "POSTNET", false), "*123456789012#");
}

TEST(BarcodeDispatch, InterleavedDigitsAlwaysComeInPairs)
{
    EXPECT_EQ(EncodeBarcode("1234", "C25", true), EncodeInterleaved25(Interleaved25CheckDigit("01234")));
    EXPECT_EQ(EncodeBarcode("123", "C25", false), EncodeInterleaved25("0123"));
    EXPECT_EQ(EncodeBarcode("123", "ITF", true), EncodeInterleaved25(Interleaved25CheckDigit("0000000000123")));
    EXPECT_EQ(EncodeBarcode("12A", "C25", true), "");
}

TEST(BarcodeDispatch, SetsAndUpperCasing)
{
    EXPECT_EQ(EncodeBarcode("abc", "C39", false), "#ABC#");
    EXPECT_EQ(EncodeBarcode("A B", "C39", false), "");
    EXPECT_EQ(EncodeBarcode("CODE39", "C39", true), "#CODE39W#");
    EXPECT_EQ(EncodeBarcode("a123b", "CBAR", false), "A|1|2|3|B");
    EXPECT_EQ(EncodeBarcode("X123B", "CBAR", false), "");
    EXPECT_EQ(EncodeBarcode("A123X", "CBAR", false), "");
    EXPECT_EQ(EncodeBarcode("AB", "CBAR", false), "");
    EXPECT_EQ(EncodeBarcode("A1234B", "CBAR", true), "a|1|2|3|4|5|b");
    EXPECT_EQ(EncodeBarcode("123456789ABCDEF", "PLESSEY", false), "*123456789ABCDEF#");
    EXPECT_EQ(EncodeBarcode("123456789ABCDEF0", "PLESSEY", false), "");
    EXPECT_EQ(EncodeBarcode("12-3", "C11", false), "*12-3#");
    EXPECT_EQ(EncodeBarcode("12+3", "C11", false), "");
    EXPECT_EQ(EncodeBarcode("1234567890123", "CMSI", true).size(), 17u);
    EXPECT_EQ(EncodeBarcode("12345678901234", "CMSI", true), "");
    EXPECT_EQ(EncodeBarcode("12k", "DELTA", false), "*|1|2|K|#");
    EXPECT_EQ(EncodeBarcode("12N", "DELTA", false), "");
}

TEST(BarcodeDispatch, UntestedTwoOfFiveVariantsPassLettersThrough)
{
    EXPECT_EQ(EncodeBarcode("12A", "C25INV", false), "*12A#");
    EXPECT_EQ(EncodeBarcode("12A", "C25COMP", true), "*" + TwoOfFiveCheckDigit("12A") + "#");
    EXPECT_EQ(EncodeBarcode("12A", "CIND25", true), "");
    for (const char* keyword : {"CIND25", "C5BARS", "C3BARS", "CBCD", "C25INV", "C25COMP"})
        EXPECT_EQ(EncodeBarcode("1234", keyword, true), "*12348#") << keyword;
}

TEST(BarcodeDispatch, Code32AndItsReadableLine)
{
    EXPECT_EQ(EncodeBarcode("1234567", "C32", true), EncodeCode32("012345676"));
    EXPECT_EQ(EncodeBarcode("1234567", "C32HRC", true), "|" + EncodeCode32("012345676") + "\r\nA012345676");
    EXPECT_EQ(EncodeBarcode("1234567890", "C32", false), "");
}

TEST(BarcodeDispatch, CipRefusesDataWithoutACheckDigit)
{
    EXPECT_EQ(EncodeBarcode("123456", "CIP", true), "*1234568#");
    // 5 x 7 = 35 leaves 2.
    EXPECT_EQ(EncodeBarcode("5", "CIP", true), "*0000058#");
    // 3 x 7 = 21 leaves 10: no check digit exists.
    EXPECT_EQ(EncodeBarcode("3", "CIP", true), "");
}

TEST(BarcodeDispatch, HelpersAndAlwaysChecked)
{
    EXPECT_EQ(BarcodePadLeft("12", 5, "0xyz"), "00012");
    EXPECT_EQ(BarcodePadLeft("123456", 4, "0"), "1234");
    EXPECT_TRUE(IsAllDigits(""));
    EXPECT_FALSE(IsAllDigits("12 3"));
    EXPECT_EQ(EncodeBarcode("12", "C128", true), EncodeBarcode("12", "C128", false));
    EXPECT_EQ(EncodeBarcode(Chars({233}), "E128", true), "");
}

} // namespace
