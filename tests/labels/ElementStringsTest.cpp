#include "labels/ElementStrings.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <algorithm>
#include <string>

namespace {

const QString F = QString(QChar(kFnc1));

ElementData pallet()
{
    ElementData d;
    d.gtin = QStringLiteral("18001234567892");
    d.qt = QStringLiteral("12");
    d.pesolordo = 523.4;
    d.scadenza = QDate(2025, 5, 17);
    d.lotto = QStringLiteral("L42");
    d.gtin2 = QStringLiteral("08001234567897");
    d.pezzi = QStringLiteral("6");
    d.produzione = QDate(2024, 11, 3);
    return d;
}

ElementSettings settings(const char* order)
{
    ElementSettings s;
    s.ordineAI = QString::fromLatin1(order);
    return s;
}

} // namespace

TEST(ElementStrings, OrderFollowsOrdineAIWithFnc1AfterVariableElements)
{
    const auto d = pallet();
    auto s = settings("215346");
    EXPECT_EQ(CalcolaEAN128Text(d, s, {}), QStringLiteral("(37)12(02)18001234567892(10)L42(15)250517(3301)005234"));
    EXPECT_EQ(CalcolaEAN128Barcode(d, s, {}), QStringLiteral("3712") + F + QStringLiteral("021800123456789210L42") + F
                                                   + QStringLiteral("152505173301005234"));
    s.ordineAI = QStringLiteral("123465");
    EXPECT_EQ(CalcolaEAN128Barcode(d, s, {}), QStringLiteral("02180012345678923712") + F + QStringLiteral("1525051733010052341")
                                                   + QStringLiteral("0L42"));
}

TEST(ElementStrings, SingleItemsAndMonthOnlyExpiries)
{
    auto d = pallet();
    auto s = settings("12");
    d.qt = QStringLiteral("1");
    EXPECT_EQ(CalcolaEAN128Text(d, s, {}), QStringLiteral("(01)08001234567897(30)6"));
    d.qt = QStringLiteral("01");
    EXPECT_EQ(CalcolaEAN128Text(d, s, {}), QStringLiteral("(02)18001234567892(37)01"));
    s.stampaEANCartone = false;
    EXPECT_EQ(CalcolaEAN128Text(d, s, {}), QStringLiteral("(01)08001234567897(30)6"));

    s = settings("3");
    s.calcScadenza = 4;
    d.scadenza = QDate(2025, 5, 1);
    EXPECT_EQ(CalcolaEAN128Barcode(d, s, {}), QStringLiteral("15250500"));
    s = settings("6");
    s.stampaScadenza = false;
    EXPECT_EQ(CalcolaEAN128Text(d, s, {}), QStringLiteral("(11)241103"));
}

TEST(ElementStrings, GrossWeightElement)
{
    EXPECT_EQ(CalcolaPesoLordoText(523.4), QStringLiteral("(3301)005234"));
    EXPECT_EQ(CalcolaPesoLordoBarcode(523.4), QStringLiteral("3301005234"));
    EXPECT_EQ(CalcolaPesoLordoText(1200), QStringLiteral("(3300)001200"));
    EXPECT_EQ(CalcolaPesoLordoText(12.345), QStringLiteral("(3303)012345"));
    EXPECT_EQ(CalcolaPesoLordoText(0.5), QStringLiteral("(3301)000005"));
    // More digits than fit: rounded, never cut into another weight.
    EXPECT_EQ(CalcolaPesoLordoBarcode(1234.567), QStringLiteral("3302123457"));
    EXPECT_EQ(CalcolaPesoLordoBarcode(12.3456789), QStringLiteral("3304123457"));
    EXPECT_EQ(CalcolaPesoLordoBarcode(999.99999), QStringLiteral("3300001000"));
    EXPECT_EQ(CalcolaPesoLordoBarcode(123456), QStringLiteral("3300123456"));
}

TEST(ElementStrings, SummaryLabelsLeaveOutWhatTheLinesDifferAndTextStatesTheSymbol)
{
    const auto d = pallet();
    auto s = settings("123456");
    s.stampaPesoLordo = false;
    s.stampaScadenza = false;
    const LabelContent mixed{true, false};
    EXPECT_EQ(CalcolaEAN128Text(d, s, mixed), QStringLiteral("(3301)005234"));
    EXPECT_EQ(CalcolaEAN128Barcode(d, s, mixed), QStringLiteral("3301005234"));
    s.stampaScadenza = true;
    EXPECT_EQ(CalcolaEAN128Text(d, s, mixed), QStringLiteral("(15)250517"));
    EXPECT_EQ(CalcolaEAN128Barcode(d, s, mixed), QStringLiteral("15250517"));
    s.stampaPesoLordo = true;
    const LabelContent oneArticle{true, true};
    EXPECT_EQ(CalcolaEAN128Text(d, s, oneArticle), QStringLiteral("(02)18001234567892(37)12(15)250517(3301)005234"));
    EXPECT_EQ(CalcolaEAN128Barcode(d, s, oneArticle),
              QStringLiteral("02180012345678923712") + F + QStringLiteral("152505173301005234"));
}

TEST(ElementStrings, LotCharactersAndWeightsTheElementsCanCarry)
{
    EXPECT_EQ(LotRefusal(QStringLiteral("Az09!\"%&'()*+,-./:;<=>?_")), QString());
    for (const char* bad : {"L 1", "L#1", "L\u00e91", "L\u20ac1", "L\U0001F6001", "L@1", "L\t1"}) {
        const QString lot = QString::fromUtf8(bad);
        const QString why = LotRefusal(lot);
        EXPECT_TRUE(why.contains(lot)) << bad;
        EXPECT_TRUE(why.contains(u'"' + lot.mid(1, lot.size() - 2) + u'"')) << bad << " names the character";
    }
    EXPECT_TRUE(WeightFitsElement(0));
    EXPECT_TRUE(WeightFitsElement(999999.4));
    EXPECT_FALSE(WeightFitsElement(999999.5)) << "rounds to seven digits";
    EXPECT_FALSE(WeightFitsElement(-0.5));
    EXPECT_EQ(CalcolaPesoLordoBarcode(999999.4), QStringLiteral("3300999999"));
}

TEST(ElementStrings, EmptyOrderFallsBack)
{
    const auto d = pallet();
    const auto s = settings("");
    EXPECT_EQ(CalcolaEAN128Text(d, s, {}), QStringLiteral("(3301)005234"));
    EXPECT_EQ(CalcolaEAN128BarcodeMulti(d, s), QStringLiteral("0218001234567892"));
    EXPECT_EQ(CalcolaEAN128TextMulti(d, settings("4")), QStringLiteral("(02)18001234567892"));
    EXPECT_EQ(CalcolaEAN128BarcodeMulti(d, settings("5")), QStringLiteral("10L42"));
}

namespace {

// Walks a barcode form as a scanner's GS1 parser would; returns an empty string when it is valid.
std::string gs1Fault(const QString& barcode, int rule)
{
    int i = 0;
    const int n = barcode.size();
    if (n && barcode.back() == QChar(kFnc1)) return "FNC1 at the end";
    while (i < n) {
        const QString id2 = barcode.mid(i, 2);
        auto date = [&](int at) -> std::string {
            const QString v = barcode.mid(at, 6);
            if (v.size() != 6) return "short date";
            const int mm = v.mid(2, 2).toInt(), dd = v.mid(4, 2).toInt();
            if (mm < 1 || mm > 12) return "bad month";
            if (dd == 0) return id2 == QLatin1String("15") && (rule == 3 || rule == 4) ? "" : "day 00";
            if (!QDate(2000 + v.left(2).toInt(), mm, dd).isValid()) return "bad day";
            return "";
        };
        if (id2 == QLatin1String("01") || id2 == QLatin1String("02")) {
            i += 16;
        } else if (id2 == QLatin1String("15") || id2 == QLatin1String("11")) {
            if (auto f = date(i + 2); !f.empty()) return f;
            i += 8;
        } else if (barcode.mid(i, 3) == QLatin1String("330")) {
            i += 10;
        } else if (id2 == QLatin1String("10") || id2 == QLatin1String("30") || id2 == QLatin1String("37")) {
            const int end = barcode.indexOf(QChar(kFnc1), i);
            if (end < 0) return "";
            i = end + 1;
            if (i >= n) return "FNC1 at the end";
            continue;
        } else {
            return "unknown AI at " + std::to_string(i);
        }
        if (i < n && barcode[i] == QChar(kFnc1)) return "FNC1 after a fixed-length element";
    }
    return "";
}

} // namespace

TEST(ElementStrings, EveryOrderAndSwitchGivesAValidGs1String)
{
    std::string order = "123456";
    int checked = 0;
    auto d = pallet();
    do {
        for (int bits = 0; bits < 128; ++bits) {
            ElementSettings s;
            s.ordineAI = QString::fromStdString(order);
            s.stampaEANCartone = bits & 1;
            s.stampaScadenza = bits & 2;
            s.stampaPesoLordo = bits & 4;
            s.stampaDataProd = bits & 8;
            s.calcScadenza = (bits & 16) ? 3 : 0;
            d.qt = (bits & 32) ? QStringLiteral("1") : QStringLiteral("12");
            const LabelContent content{bool(bits & 64), !(bits & 64) || (order[0] & 1)};
            const QString b = CalcolaEAN128Barcode(d, s, content);
            ASSERT_EQ(gs1Fault(b, s.calcScadenza), "") << b.toStdString();
            const QString m = CalcolaEAN128BarcodeMulti(d, s);
            ASSERT_EQ(gs1Fault(m, s.calcScadenza), "") << m.toStdString();
            ++checked;
        }
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(checked, 720 * 128);
}
