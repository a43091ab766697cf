#include "ZbarReader.h"

#include "barcodes/BarcodeRenderer.h"
#include "barcodes/Barcodes.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr char kFnc1 = static_cast<char>(129);

// Symbol values of a C128 font string, the stop glyph left out.
std::vector<int> Values(const std::string& font)
{
    std::vector<int> values;
    for (unsigned char c : font) {
        if (c == 139)
            break;
        values.push_back(c >= 150 ? c - 56 : c - 33);
    }
    return values;
}

std::vector<int> WithoutCheck(std::vector<int> v)
{
    v.pop_back();
    return v;
}

int CheckOf(const std::vector<int>& v)
{
    int sum = v[0];
    for (std::size_t i = 1; i < v.size(); ++i)
        sum += static_cast<int>(i) * v[i];
    return sum % 103;
}

TEST(Code128, StartAndCodeSetChoices)
{
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128("123"))), (std::vector<int>{104, 17, 18, 19}));
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128("1234"))), (std::vector<int>{105, 12, 34}));
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128("12345"))), (std::vector<int>{105, 12, 34, 100, 21}));
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128("AB\t"))), (std::vector<int>{103, 33, 34, 73}));
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128("ab\tc"))), (std::vector<int>{104, 65, 66, 98, 73, 67}));
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128("ab\t"))), (std::vector<int>{104, 65, 66, 101, 73}));
    // A run of five digits inside code B sends its first digit there and the rest in pairs.
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128("X12345"))), (std::vector<int>{104, 56, 17, 99, 23, 45}));
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128("X123"))), (std::vector<int>{104, 56, 17, 18, 19}));
    // FNC1 counts as a pair only where a pair could start.
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128("1" + std::string(1, kFnc1) + "234"))),
              (std::vector<int>{104, 17, 102, 18, 19, 20}));
    // The markers: NUL needs code A, FNC2 to FNC4 leave code C.
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128(std::string("a") + static_cast<char>(128)))),
              (std::vector<int>{104, 65, 101, 64}));
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128(std::string("1234") + static_cast<char>(130) +
                                                static_cast<char>(131) + static_cast<char>(132)))),
              (std::vector<int>{105, 12, 34, 100, 97, 96, 100}));
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128(std::string("\t") + static_cast<char>(132)))),
              (std::vector<int>{103, 73, 101}));
}

TEST(Code128, CheckAndStop)
{
    const std::string empty = EncodeCode128("");
    EXPECT_EQ(empty, (std::string{static_cast<char>(137), '"', static_cast<char>(139)}));
    const std::vector<int> v = Values(EncodeCode128("Hello 42!"));
    EXPECT_EQ(v.back(), CheckOf(WithoutCheck(v)));
    EXPECT_EQ(EncodeCode128(std::string(1, static_cast<char>(233))), "");
    EXPECT_EQ(EncodeCode128(std::string(1, static_cast<char>(133))), "");
    // Long enough for the weighted sum to pass the range of an int.
    const std::vector<int> longData = Values(EncodeCode128(std::string(20000, 'z')));
    long long sum = longData[0];
    for (std::size_t i = 1; i + 1 < longData.size(); ++i) sum += static_cast<long long>(i) * longData[i];
    EXPECT_EQ(longData.back(), static_cast<int>(sum % 103));
}

TEST(Code128, EscapesDecodeBeforeEncoding)
{
    const std::string a = EncodeCode128("A");
    EXPECT_EQ(EncodeCode128("\\x41"), a);
    EXPECT_EQ(EncodeCode128("\\101"), a);
    EXPECT_EQ(EncodeCode128("\\d065"), a);
    EXPECT_EQ(EncodeCode128("\\d6.6"), EncodeCode128("\a"));
    EXPECT_EQ(EncodeCode128("\\d999"), "");
    EXPECT_EQ(WithoutCheck(Values(EncodeCode128("\\\\"))), (std::vector<int>{104, '\\' - 32}));
    EXPECT_EQ(EncodeCode128("\\t"), EncodeCode128("\t"));
    EXPECT_EQ(EncodeCode128("\\x9"), EncodeCode128("\t"));
    EXPECT_EQ(EncodeCode128("\\201"), EncodeCode128(std::string(1, kFnc1)));
    // Escapes that name no character make the data invalid rather than vanish from the bars.
    EXPECT_EQ(EncodeCode128("A\\q"), "");
    EXPECT_EQ(EncodeCode128("A\\"), "");
    // Cut short by the end of the data, an escape reads what there is: nothing counts zero.
    EXPECT_EQ(EncodeCode128("\\x"), EncodeCode128(std::string(1, '\0')));
    EXPECT_EQ(EncodeCode128("A\\d"), EncodeCode128(std::string("A") + '\0'));
    EXPECT_EQ(EncodeCode128("A\\x4"), EncodeCode128("A\x04"));
    EXPECT_EQ(EncodeCode128("A\\d12"), EncodeCode128("A\x0c"));
    EXPECT_EQ(EncodeCode128("\\d-12"), "");
    EXPECT_EQ(EncodeCode128("\\1 "), "");
    EXPECT_EQ(ParseNumberInBase("ff", 16), 255);
    EXPECT_EQ(ParseNumberInBase("19", 8), 17);

    int pos = 3;
    EXPECT_EQ(NextEscapedChar("AB\\x41C", pos), "A");
    EXPECT_EQ(pos, 7);
}

TEST(Gs1128, FnC1FollowsTheStartAndGlyphsAreExchanged)
{
    const std::string sscc = "00" + std::string("376123450000000018");
    const std::string font = EncodeGs1128(sscc);
    EXPECT_EQ(static_cast<unsigned char>(font.back()), 103);
    const std::vector<int> v = WithoutCheck(Values(SwapGs1128Glyphs(font)));
    EXPECT_EQ(v, (std::vector<int>{105, 102, 0, 37, 61, 23, 45, 0, 0, 0, 0, 18}));

    const std::string mixed = "101234" + std::string(1, kFnc1) + "3712";
    EXPECT_EQ(WithoutCheck(Values(SwapGs1128Glyphs(EncodeGs1128(mixed)))),
              (std::vector<int>{105, 102, 10, 12, 34, 102, 37, 12}));
    EXPECT_EQ(SwapGs1128Glyphs(std::string("fghijk") + static_cast<char>(139)),
              std::string("h") + static_cast<char>(139) + "fjikg");
}

// What zbar reports for our input: NUL for the NUL marker, the group separator for FNC1. (zbar drops an FNC1
// in second place, the application indicator, and a closing one, so the inputs avoid those places.)
std::string AsScanned(const std::string& data)
{
    std::string out;
    for (char c : data)
        out += c == static_cast<char>(128) ? '\0' : c == kFnc1 ? '\x1d' : c;
    return out;
}

void ExpectReadsBack(const std::string& data)
{
    ExpectScans(data, "C128", zbar::ZBAR_CODE128, AsScanned(data));
}

TEST(Code128, ScansBackEveryCodeSetSwitch)
{
    const std::string fnc1(1, kFnc1);
    const std::string nul(1, static_cast<char>(128));
    const std::vector<std::string> strings = {"123", "1234", "12345", "123456", "X1", "X12", "X123", "X1234", "X12345",
                                   "AB\t", "ab\tc", "ab\t", "\tab\t", "\ta\tb", "a\tb\tc", "\t12345\t",
                                   "1234\tab", "12345a\t", "ab1234567cd", "HELLO world", "~`{|}", "\x01\x1f",
                                   std::string("12") + fnc1 + "34", "AB" + fnc1 + "12" + fnc1 + "x",
                                   "12" + fnc1 + "3", "1234" + fnc1 + "5", "x" + nul + "y", nul + "123456"};
    for (const std::string& data : strings)
        ExpectReadsBack(data);
}

TEST(Code128, ScansBackRandomData)
{
    const std::string pool = "0123456789012345678901234567890123456789ABCXYZabcxyz !#~\x01\x09\x1b\x1f";
    std::mt19937 random(128);
    for (int n = 0; n < 400; ++n) {
        std::string data;
        const int length = 1 + static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i) {
            const unsigned r = random() % 40;
            if (i >= 2 && i + 1 < length && r == 0)
                data += kFnc1;
            else if (r == 1)
                data += static_cast<char>(128);
            else
                data += pool[random() % pool.size()];
        }
        ExpectReadsBack(data);
    }
}

TEST(Gs1128, ScansBackElementStringsWithSeparators)
{
    const std::string fnc1(1, kFnc1);
    const std::vector<std::string> strings = {
        "00376123450000000018",
        "0237612345000001" "37" "24" + fnc1 + "15251231" "10" "LOT-7a",
        "0237612345000001" "3712" + fnc1 + "3302001234" "10" "A1",
        "10" "ABC123" + fnc1 + "17250101",
        "10" "1" + fnc1 + "21" "XYZ",
        "21" "12345" + fnc1 + "10" "99",
        "3103000250" "10" "x" + fnc1 + "37" "123",
    };
    for (const std::string& data : strings) {
        const std::string modules = BarcodeModules(EncodeBarcode(data, "E128", true), "E128");
        const ZbarResult read = ZbarRead(modules, zbar::ZBAR_CODE128);
        EXPECT_TRUE(read.found) << data;
        EXPECT_TRUE(read.gs1) << data;
        EXPECT_EQ(read.data, AsScanned(data)) << data;
    }
}

} // namespace
