#include "ZbarReader.h"
#include "RandomInputs.h"
#include "ZintReference.h"

#include "barcodes/BarcodeRenderer.h"
#include "barcodes/Barcodes.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(OtherLinear, WorkedExamples)
{
    EXPECT_EQ(PostnetCheckDigit("12345"), "123455");
    EXPECT_EQ(CipCheckDigit("123456"), "1234568");
    EXPECT_EQ(Code11CheckChars("123-45"), "123-45" + std::string(1, Code11CheckChars("123-45").back()));
    EXPECT_EQ(Code11CheckChars("123-45").size(), 7u);
    EXPECT_EQ(Code11CheckChars("123-4567890").size(), 13u);
    EXPECT_EQ(Code11CheckChars("1234567890").size(), 11u);
    EXPECT_EQ(MsiCheckDigit("1234", 2), "123447");
    EXPECT_EQ(MsiCheckDigit("1234", 1), "12344");
    // 1 gives 18; weights 2 and 3 over 18 give 19, three short of 22.
    EXPECT_EQ(MsiCheckDigit("1", 2), "183");
    EXPECT_EQ(CodabarCheckChar("A1234B"), "a12345b");
    EXPECT_EQ(CodabarCheckChar("T1234M"), "t12345m");
    EXPECT_EQ(EncodeDelta("12"), "*|1|2|#");
    EXPECT_EQ(EncodeInterleaved25("1234"), "*LfNi#");
    EXPECT_EQ(EncodeInterleaved25("123"), "*Lf#");
    // Doubled O (14) adds 2 + 8; K adds 1 + 0.
    EXPECT_EQ(DeltaCheckDigit("KO"), "KO9");
    EXPECT_EQ(DeltaCheckDigit("12"), "125");
    EXPECT_EQ(TwoOfFiveCheckDigit("1234"), "12348");
    EXPECT_EQ(TwoOfFiveCheckDigit("123"), "1236");
}

TEST(OtherLinear, CodabarAndInterleavedScanBack)
{
    std::mt19937 random(25);
    const std::string starts = "ABCDTM*E";
    const std::string scanned = "ABCDABCD";
    for (int n = 0; n < 60; ++n) {
        const std::size_t s = random() % starts.size();
        const std::size_t e = random() % starts.size();
        const std::string body = RandomFrom(random, "0123456789-$:/.+", 1 + static_cast<int>(random() % 12));
        const std::string data = starts[s] + body + starts[e];
        for (bool check : {false, true}) {
            const std::string modules = BarcodeModules(EncodeBarcode(data, "CBAR", check), "CBAR");
            const std::string withCheck = check ? CodabarCheckChar(data) : data;
            const ZbarResult read = ZbarRead(modules, zbar::ZBAR_CODABAR);
            EXPECT_TRUE(read.found) << data;
            EXPECT_EQ(read.data, scanned[s] + withCheck.substr(1, withCheck.size() - 2) + scanned[e]) << data;
        }

        // C25 makes whole pairs with the check digit, ITF fills to 13 digits.
        const std::string digits = RandomDigits(random, 1 + static_cast<int>(random() % 13));
        const std::string c25 = digits.size() % 2 == 0 ? "0" + digits : digits;
        const std::pair<const char*, std::string> cases[] = {{"C25", c25}, {"ITF", BarcodePadLeft(digits, 13, "0")}};
        for (const auto& [keyword, expected] : cases) {
            const ZbarResult read = ZbarRead(BarcodeModules(EncodeBarcode(digits, keyword, true), keyword), zbar::ZBAR_I25);
            EXPECT_TRUE(read.found) << keyword << " " << digits;
            EXPECT_EQ(read.data, Interleaved25CheckDigit(expected)) << keyword << " " << digits;
        }
    }
}

// Symbologies zbar does not read, against zint with its own check characters.
TEST(OtherLinear, MatchZint)
{
    if (!ZintAvailable())
        GTEST_SKIP() << "zint is not installed";
    struct TwoOfFiveCase {
        const char* keyword;
        int zint;
    };
    const TwoOfFiveCase variants[] = {{"CIND25", 7}, {"C5BARS", 7}, {"C25INV", 7}, {"C25COMP", 4}, {"C3BARS", 2}, {"CBCD", 6}};
    std::mt19937 random(5);
    for (int n = 0; n < 15; ++n) {
        const std::string digits = RandomDigits(random, 1 + static_cast<int>(random() % 12));
        for (const TwoOfFiveCase& v : variants)
            EXPECT_EQ(ElementClasses(BarcodeModules(EncodeBarcode(digits, v.keyword, true), v.keyword)),
                      ElementClasses(ZintRow(v.zint, digits, "--vers=1")))
                << v.keyword << " " << digits;

        const std::string code11 = RandomFrom(random, "0123456789-", 1 + static_cast<int>(random() % 14));
        EXPECT_EQ(ElementClasses(BarcodeModules(EncodeBarcode(code11, "C11", true), "C11")),
                  ElementClasses(ZintRow(1, code11, code11.size() > 10 ? "" : "--vers=1")))
            << code11;

        const std::string msi = MsiCheckDigit(RandomDigits(random, 1 + static_cast<int>(random() % 13)), 2);
        if (msi.back() != ':') {
            EXPECT_EQ(BarcodeModules(EncodeBarcode(msi, "CMSI", false), "CMSI"), ZintRow(47, msi)) << msi;
        }

        const std::string hex = RandomFrom(random, "0123456789ABCDEF", 1 + static_cast<int>(random() % 15));
        EXPECT_EQ(BarcodeModules(EncodeBarcode(hex, "PLESSEY", true), "PLESSEY"), ZintRow(86, hex)) << hex;

        for (int length : {5, 9, 11}) {
            const std::string zip = RandomDigits(random, length);
            const std::vector<std::string> rows = ZintModules(40, zip);
            ASSERT_EQ(rows.size(), 2u);
            EXPECT_EQ(BarcodeModules(EncodeBarcode(zip, "POSTNET", true), "POSTNET"), rows[0] + "\n" + rows[1]) << zip;
        }
    }
}

} // namespace
