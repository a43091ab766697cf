#include "barcodes/Barcodes.h"

namespace {

const char* const kEan13Parity[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                      "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
const char* const kUpcEParity[10] = {"BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA",
                                     "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB"};
const char* const kAddOn2Parity[4] = {"AA", "AB", "BA", "BB"};
const char* const kAddOn5Parity[10] = {"BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA",
                                       "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB"};

int Digit(char c) { return c - '0'; }

char Offset(char digit, int base) { return static_cast<char>(base + Digit(digit)); }

// Digits from..to (1-based) drawn with `setA` or `setB` by the parity letters.
std::string ByParity(const std::string& data, std::size_t from, const std::string& parity, int setA, int setB)
{
    std::string out;
    for (std::size_t i = 0; i < parity.size(); ++i)
        out += Offset(data[from - 1 + i], parity[i] == 'A' ? setA : setB);
    return out;
}

std::string Run(const std::string& data, std::size_t from, std::size_t to, int base)
{
    std::string out;
    for (std::size_t i = from; i <= to; ++i)
        out += Offset(data[i - 1], base);
    return out;
}

std::string AddOn(const std::string& data, const std::string& parity)
{
    std::string out = "-+";
    for (std::size_t i = 0; i < parity.size(); ++i) {
        if (i > 0)
            out += '_';
        out += Offset(data[i], parity[i] == 'A' ? 75 : 85);
    }
    return out;
}

} // namespace

std::string EncodeEan13(const std::string& data)
{
    return data.substr(0, 1) + "|" + ByParity(data, 2, kEan13Parity[Digit(data[0])], 97, 65) + "!" +
           Run(data, 8, 13, 109) + "|";
}

std::string EncodeEan8(const std::string& data)
{
    return "|" + Run(data, 1, 4, 65) + "!" + Run(data, 5, 8, 109) + "|";
}

std::string EncodeUpcA(const std::string& data)
{
    return "|" + Run(data, 1, 6, 65) + "!" + Run(data, 7, 12, 109) + "|";
}

std::string EncodeUpcE(const std::string& data)
{
    // Number system 1 mirrors the parity of number system 0.
    const bool system0 = data[0] == '0';
    return data.substr(0, 1) + "|" +
           ByParity(data, 2, kUpcEParity[Digit(data[7])], system0 ? 65 : 97, system0 ? 97 : 65) + "#";
}

std::string EncodeAddOn2(const std::string& data)
{
    return AddOn(data, kAddOn2Parity[(Digit(data[0]) * 10 + Digit(data[1])) % 4]);
}

std::string EncodeAddOn5(const std::string& data)
{
    const int sum = 3 * (Digit(data[0]) + Digit(data[2]) + Digit(data[4])) + 9 * (Digit(data[1]) + Digit(data[3]));
    return AddOn(data, kAddOn5Parity[sum % 10]);
}

std::string EanUpcCheckDigit(const std::string& data)
{
    int odd = 0;
    int even = 0;
    for (std::size_t i = 0; i < data.size(); ++i)
        (i % 2 == 0 ? odd : even) += Digit(data[i]);
    const int total = data.size() == 12 ? 3 * even + odd : 3 * odd + even;
    return data + static_cast<char>('0' + (10 - total % 10) % 10);
}

std::string UpcECheckDigit(const std::string& data)
{
    const std::string x = data.substr(1, 6);
    std::string manufacturer;
    std::string product;
    switch (x[5]) {
    case '0': case '1': case '2':
        manufacturer = x.substr(0, 2) + x[5] + "00";
        product = "00" + x.substr(2, 3);
        break;
    case '3':
        manufacturer = x.substr(0, 3) + "00";
        product = "000" + x.substr(3, 2);
        break;
    case '4':
        manufacturer = x.substr(0, 4) + "0";
        product = "0000" + x.substr(4, 1);
        break;
    default:
        manufacturer = x.substr(0, 5);
        product = "0000" + x.substr(5, 1);
        break;
    }
    const std::string upcA = EanUpcCheckDigit(data.substr(0, 1) + manufacturer + product);
    return data + upcA.back();
}
