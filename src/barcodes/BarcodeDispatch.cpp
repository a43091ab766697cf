#include "barcodes/Barcodes.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

bool AllIn(const std::string& s, const std::string& set)
{
    return s.find_first_not_of(set) == std::string::npos;
}

// Digits only, at most `withCheck` characters when we add the check digit and `withoutCheck` when the
// caller brings it; left-filled with zeros to that length.
bool DigitsFilled(std::string& data, bool addCheck, int withCheck, int withoutCheck)
{
    const int limit = addCheck ? withCheck : withoutCheck;
    if (!IsAllDigits(data) || static_cast<int>(data.size()) > limit)
        return false;
    data = BarcodePadLeft(data, limit, "0");
    return true;
}

bool UpperIn(std::string& data, const std::string& set)
{
    std::string upper = Upper(data);
    if (!AllIn(upper, set))
        return false;
    data = upper;
    return true;
}

const std::string kCode39Set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-._$/+%";

std::string Framed(const std::string& data)
{
    return "*" + data + "#";
}

} // namespace

bool IsAllDigits(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string BarcodePadLeft(const std::string& s, int width, const std::string& padChar)
{
    const auto w = static_cast<std::size_t>(std::max(width, 0));
    if (s.size() > w)
        return s.substr(0, w);
    return std::string(w - s.size(), padChar.empty() ? ' ' : padChar[0]) + s;
}

bool ValidateBarcodeData(std::string& data, const std::string& keyword, bool addCheck)
{
    const std::size_t size = data.size();
    if (keyword == "UPCE")
        return DigitsFilled(data, addCheck, 7, 8) && (data[0] == '0' || data[0] == '1');
    if (keyword == "EAN8")
        return DigitsFilled(data, addCheck, 7, 8);
    if (keyword == "EAN13")
        return DigitsFilled(data, addCheck, 12, 13);
    if (keyword == "UPCA")
        return DigitsFilled(data, addCheck, 11, 12);
    if (keyword == "ADD2")
        return DigitsFilled(data, addCheck, 2, 2);
    if (keyword == "ADD5")
        return DigitsFilled(data, addCheck, 5, 5);
    if (keyword == "POSTNET") {
        const std::size_t k = addCheck ? 0 : 1;
        if (!IsAllDigits(data) || size > 11 + k)
            return false;
        const std::size_t width = size <= 5 + k ? 5 + k : size <= 9 + k ? 9 + k : 11 + k;
        data = BarcodePadLeft(data, static_cast<int>(width), "0");
        return true;
    }
    if (keyword == "CIP")
        return DigitsFilled(data, addCheck, 6, 7) && !CipCheckDigit(data).empty();
    if (keyword == "C25") {
        if (!IsAllDigits(data))
            return false;
        // The check digit, when added, completes the last pair.
        if ((size % 2 == 0) == addCheck)
            data = "0" + data;
        return true;
    }
    if (keyword == "CIND25" || keyword == "C5BARS" || keyword == "C3BARS" || keyword == "CBCD")
        return IsAllDigits(data);
    if (keyword == "C11")
        return AllIn(data, "0123456789-");
    if (keyword == "CMSI")
        return IsAllDigits(data) && size <= (addCheck ? 13u : 15u);
    if (keyword == "C32" || keyword == "C32HRC")
        return DigitsFilled(data, addCheck, 8, 9);
    if (keyword == "ITF")
        return DigitsFilled(data, addCheck, 13, 14);
    if (keyword == "C39" || keyword == "C93")
        return UpperIn(data, kCode39Set);
    if (keyword == "PLESSEY")
        return size <= 15 && UpperIn(data, "0123456789ABCDEF");
    if (keyword == "DELTA")
        return size <= (addCheck ? 15u : 16u) && UpperIn(data, "0123456789KLMO");
    if (keyword == "CBAR") {
        const std::string upper = Upper(data);
        const std::string ends = "ABCDEMT*";
        if (size < 3 || ends.find(upper.front()) == std::string::npos ||
            ends.find(upper.back()) == std::string::npos ||
            !AllIn(upper.substr(1, size - 2), "0123456789-$:/.+"))
            return false;
        data = upper;
        return true;
    }
    return true;
}

std::string EncodeBarcode(const std::string& data, const std::string& symbology, bool addCheck)
{
    const std::string keyword = Upper(symbology);
    std::string d = data;
    if (!ValidateBarcodeData(d, keyword, addCheck))
        return "";

    if (keyword == "C128")
        return EncodeCode128(d);
    if (keyword == "E128")
        return EncodeGs1128(d);
    if (keyword == "C39FULL")
        return EncodeCode39Full(d, addCheck);
    if (keyword == "C93FULL")
        return EncodeCode93Full(d, addCheck);
    if (keyword == "ADD2")
        return EncodeAddOn2(d.substr(0, 2));
    if (keyword == "ADD5")
        return EncodeAddOn5(d.substr(0, 5));

    const auto check = [&](auto procedure) {
        if (addCheck)
            d = procedure(d);
    };
    if (keyword == "POSTNET") {
        check(PostnetCheckDigit);
        return Framed(d);
    }
    if (keyword == "C39") {
        check(Code39CheckChar);
        return "#" + d + "#";
    }
    if (keyword == "C93") {
        check(Code93CheckChars);
        return Framed(d);
    }
    if (keyword == "CIP") {
        check(CipCheckDigit);
        return Framed(d);
    }
    if (keyword == "PLESSEY") {
        check(PlesseyCheckChars);
        return Framed(d);
    }
    if (keyword == "DELTA") {
        check(DeltaCheckDigit);
        return EncodeDelta(d);
    }
    if (keyword == "C25" || keyword == "ITF") {
        check(Interleaved25CheckDigit);
        return EncodeInterleaved25(d);
    }
    if (keyword == "CIND25" || keyword == "C5BARS" || keyword == "C3BARS" || keyword == "CBCD" ||
        keyword == "C25INV" || keyword == "C25COMP") {
        check(TwoOfFiveCheckDigit);
        return Framed(d);
    }
    if (keyword == "C11") {
        check(Code11CheckChars);
        return Framed(d);
    }
    if (keyword == "CMSI") {
        check([](const std::string& s) { return MsiCheckDigit(s, 2); });
        return Framed(d);
    }
    if (keyword == "EAN13" || keyword == "UPCA" || keyword == "EAN8") {
        const std::size_t body = keyword == "EAN13" ? 12 : keyword == "UPCA" ? 11 : 7;
        check([body](const std::string& s) { return EanUpcCheckDigit(s.substr(0, body)); });
        return keyword == "EAN13" ? EncodeEan13(d) : keyword == "UPCA" ? EncodeUpcA(d) : EncodeEan8(d);
    }
    if (keyword == "UPCE") {
        check([](const std::string& s) { return UpcECheckDigit(s.substr(0, 7)); });
        return EncodeUpcE(d);
    }
    if (keyword == "C32" || keyword == "C32HRC") {
        check(Code32CheckDigit);
        if (keyword == "C32")
            return EncodeCode32(d);
        return "|" + EncodeCode32(d) + "\r\nA" + d;
    }
    if (keyword == "CBAR") {
        check(CodabarCheckChar);
        return EncodeCodabar(d);
    }
    return "";
}
