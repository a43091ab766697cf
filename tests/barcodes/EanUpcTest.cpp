#include "RandomInputs.h"
#include "ZbarReader.h"
#include "ZintReference.h"

#include "barcodes/BarcodeRenderer.h"
#include "barcodes/Barcodes.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(EanUpc, WorkedExamples)
{
    EXPECT_EQ(EncodeEan13("4006381333931"), "4|aAgdIB!pppvpn|");
    EXPECT_EQ(EncodeEan13("0000000000000"), "0|aaaaaa!mmmmmm|");
    EXPECT_EQ(EanUpcCheckDigit("400638133393"), "4006381333931");
    EXPECT_EQ(EanUpcCheckDigit("00000000000"), "000000000000");
    EXPECT_EQ(EanUpcCheckDigit("1234567"), "12345670");
    EXPECT_EQ(UpcECheckDigit("0123456"), "01234565");
    EXPECT_EQ(EncodeAddOn2("12"), "-+L_M");
    EXPECT_EQ(EncodeAddOn2("13"), "-+L_X");
    // 00002 has the add-on checksum 6: AAABB.
    EXPECT_EQ(EncodeAddOn5("00002"), "-+K_K_K_U_W");
    EXPECT_EQ(EncodeEan8("12345670"), "|BCDE!rstm|");
    EXPECT_EQ(EncodeUpcE("01234565"), "0|bCDefG#");
    EXPECT_EQ(EncodeUpcE("11234565"), "1|BcdEFg#");
}

TEST(EanUpc, Ean13ScansBackInEveryParityPattern)
{
    std::mt19937 random(13);
    for (char first = '0'; first <= '9'; ++first)
        for (int n = 0; n < 8; ++n) {
            const std::string data = first + RandomDigits(random, 11);
            ExpectScans(data, "EAN13", zbar::ZBAR_EAN13, EanUpcCheckDigit(data));
        }
}

TEST(EanUpc, Ean8AndUpcAScanBack)
{
    std::mt19937 random(8);
    for (int n = 0; n < 40; ++n) {
        const std::string ean8 = RandomDigits(random, 7);
        ExpectScans(ean8, "EAN8", zbar::ZBAR_EAN8, EanUpcCheckDigit(ean8));
        const std::string upcA = RandomDigits(random, 11);
        ExpectScans(upcA, "UPCA", zbar::ZBAR_UPCA, EanUpcCheckDigit(upcA));
    }
}

TEST(EanUpc, UpcEScansBackForEveryCheckDigit)
{
    std::mt19937 random(6);
    std::set<char> checks;
    while (checks.size() < 10) {
        const std::string data = "0" + RandomDigits(random, 6);
        const std::string withCheck = UpcECheckDigit(data);
        checks.insert(withCheck.back());
        ExpectScans(data, "UPCE", zbar::ZBAR_UPCE, withCheck);
    }
}

// zbar reads no UPC-E of number system 1 and no add-on on its own: zint draws those.
TEST(EanUpc, UpcESystemOneAndAddOnsMatchZint)
{
    if (!ZintAvailable())
        GTEST_SKIP() << "zint is not installed";
    std::mt19937 random(1);
    std::set<char> checks;
    while (checks.size() < 10) {
        const std::string data = "1" + RandomDigits(random, 6);
        // zint refuses the zero suppressions that another UPC-E value would write shorter.
        const std::string reference = ZintRow(37, data);
        if (reference.empty())
            continue;
        checks.insert(UpcECheckDigit(data).back());
        const std::string font = EncodeBarcode(data, "UPCE", true);
        EXPECT_EQ(BarcodeModules(font, "UPCE"), reference) << data;
        EXPECT_EQ(BarcodeHumanReadable(font, "UPCE"), "1");
    }
    for (int n = 0; n < 30; ++n) {
        const std::string two = RandomDigits(random, 2);
        EXPECT_EQ(BarcodeModules(EncodeBarcode(two, "ADD2", true), "ADD2"), ZintRow(13, two)) << two;
        const std::string five = RandomDigits(random, 5);
        EXPECT_EQ(BarcodeModules(EncodeBarcode(five, "ADD5", true), "ADD5"), ZintRow(13, five)) << five;
    }
}

} // namespace
