#include "barcodes/BarcodeRenderer.h"
#include "barcodes/Barcodes.h"

#include <gtest/gtest.h>

namespace {

TEST(BarcodeRenderer, ReadableParts)
{
    EXPECT_EQ(BarcodeHumanReadable("4|aAgdIB!pppvpn|", "EAN13"), "4");
    EXPECT_EQ(BarcodeHumanReadable("0|bCDefG#", "upce"), "0");
    EXPECT_EQ(BarcodeHumanReadable(EncodeBarcode("1234567", "C32HRC", true), "C32HRC"), "A012345676");
    EXPECT_EQ(BarcodeHumanReadable("|BCDE!rstm|", "EAN8"), "");
    EXPECT_EQ(BarcodeHumanReadable(EncodeBarcode("12", "C128", true), "C128"), "");
}

TEST(BarcodeRenderer, LeadingDigitIsNotDrawnAsBars)
{
    const std::string modules = BarcodeModules("4|aAgdIB!pppvpn|", "EAN13");
    EXPECT_EQ(modules.size(), 95u);
    EXPECT_EQ(modules.substr(0, 3), "101");
    EXPECT_EQ(modules.substr(45, 5), "01010");
    EXPECT_EQ(BarcodeModules("0|bCDefG#", "UPCE").size(), 51u);
}

TEST(BarcodeRenderer, StringsTheFontCannotDraw)
{
    EXPECT_EQ(BarcodeModules("", "C128"), "");
    EXPECT_EQ(BarcodeModules("#AB#", "NOSUCH"), "");
    EXPECT_EQ(BarcodeModules(std::string(1, static_cast<char>(200)), "C128"), "");
    EXPECT_EQ(BarcodeModules("#a#", "C39"), "");
    EXPECT_EQ(BarcodeModules("|BCDE!rstm#", "EAN8"), "");
    EXPECT_EQ(BarcodeModules("*12A#", "C25INV"), "");
    EXPECT_EQ(BarcodeModules("*U#", "C25"), "");
    EXPECT_EQ(BarcodeModules("*G#", "PLESSEY"), "");
    EXPECT_EQ(BarcodeModules("*12X#", "POSTNET"), "");
    EXPECT_EQ(BarcodeModules("*|1|2|#", "DELTA"), "");
    EXPECT_EQ(BarcodeModules("|*BBBBBB#", "C32HRC"), "");
}

} // namespace
