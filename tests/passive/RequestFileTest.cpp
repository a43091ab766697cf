// Reading request files: sections, keys, values and their defaults.
#include "passive/RequestFile.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kImport(QDate(2026, 1, 15), QTime(9, 45));

RequestFile Parse(const QString& text)
{
    RequestDefaults d;
    d.qtCartone = 12;
    d.unitaDurata = 1;
    d.durataProdotto = 30;
    d.tipoPallet = QStringLiteral("3");
    d.dataOra = kImport;
    d.codProduttore = QStringLiteral("12345");
    return ParseRequestFile(text, d);
}

RequestHeader OneHeader(const QString& keys)
{
    const RequestFile f = Parse(QStringLiteral("[TESTATA]\n") + keys);
    EXPECT_EQ(f.testate.size(), 1u);
    return f.testate.empty() ? RequestHeader{} : f.testate[0];
}

RequestArticle OneArticle(const QString& keys)
{
    const RequestFile f = Parse(QStringLiteral("[ARTICOLO]\n") + keys);
    EXPECT_EQ(f.articoli.size(), 1u);
    return f.articoli.empty() ? RequestArticle{} : f.articoli[0];
}

RequestLine OneCarton(const QString& keys)
{
    const RequestFile f = Parse(QStringLiteral("[IMBALLO]\n") + keys);
    EXPECT_EQ(f.imballi.size(), 1u);
    return f.imballi.empty() ? RequestLine{} : f.imballi[0];
}

TEST(RequestFileTest, SectionsWithoutKeysTakeTheirDefaults)
{
    const RequestFile f = Parse(QStringLiteral("[ARTICOLO]\n[TESTATA]\n[RIGA]\n[IMBALLO]\n"));
    ASSERT_TRUE(f.error.isEmpty());
    ASSERT_EQ(f.articoli.size(), 1u);
    const RequestArticle& a = f.articoli[0];
    EXPECT_EQ(a.codInterno, QString());
    EXPECT_EQ(a.eanArticolo, QStringLiteral("000000000000"));
    EXPECT_EQ(a.eanCartone, QStringLiteral("000000000000"));
    EXPECT_EQ(a.prefGTIN, QStringLiteral("0"));
    EXPECT_EQ(a.qtCartone, 12);
    EXPECT_EQ(a.numCartoni, 1);
    EXPECT_EQ(a.unitaDurata, 1);
    EXPECT_EQ(a.durataProdotto, 30);
    EXPECT_EQ(a.pesoCartone, 0);

    ASSERT_EQ(f.testate.size(), 1u);
    const RequestHeader& h = f.testate[0];
    EXPECT_EQ(h.copie, 1);
    EXPECT_FALSE(h.ristampa);
    EXPECT_EQ(h.idAppTestate, -1);
    EXPECT_FALSE(h.specificaContatore);
    EXPECT_EQ(h.contatoreSSCC, 0);
    EXPECT_TRUE(h.aggiornaContatore);
    EXPECT_EQ(h.tipoPallet, QStringLiteral("3"));

    ASSERT_EQ(h.righe.size(), 1u);
    ASSERT_EQ(f.imballi.size(), 1u);
    for (const RequestLine& l : {h.righe[0], f.imballi[0]}) {
        EXPECT_TRUE(l.autoLotto);
        EXPECT_EQ(l.lotto, QStringLiteral(" "));
        EXPECT_TRUE(l.autoData);
        EXPECT_EQ(l.dataOra, kImport);
        EXPECT_EQ(l.prefGTIN, QStringLiteral("0"));
        EXPECT_EQ(l.eanCartone, QStringLiteral("000000000000"));
        EXPECT_EQ(l.numCartoni, 1);
    }
}

TEST(RequestFileTest, KeysAreUpperCasedButNotTrimmed)
{
    EXPECT_EQ(OneHeader(QStringLiteral("copie=3")).copie, 3);
    EXPECT_EQ(OneHeader(QStringLiteral("COPIE =3")).copie, 1);
    EXPECT_EQ(OneHeader(QStringLiteral("COPIE= 3")).copie, 3);
    EXPECT_EQ(OneHeader(QStringLiteral("   COPIE=4   ")).copie, 4);
    EXPECT_EQ(OneHeader(QStringLiteral("COPIE=2\nCOPIE=5")).copie, 5) << "the last line wins";
    EXPECT_EQ(OneArticle(QStringLiteral("DESCRIZIONE=a=b")).descrizione, QStringLiteral("a=b"));
}

TEST(RequestFileTest, CommentsUnknownSectionsAndStrayLinesAreIgnored)
{
    const RequestFile f = Parse(QStringLiteral("COPIE=9\n"
                                               "  [testata]  \n"
                                               ";COPIE=7\n"
                                               "COPIE\n"
                                               "QUALCOSA=1\n"
                                               "COPIE=2\n"
                                               "[ALTRO]\n"
                                               "COPIE=8\n"
                                               "[TESTATA] commento\n"
                                               "COPIE=6\n"));
    ASSERT_TRUE(f.error.isEmpty());
    ASSERT_EQ(f.testate.size(), 1u);
    EXPECT_EQ(f.testate[0].copie, 2);
}

TEST(RequestFileTest, AnyLineEndWithOrWithoutAFinalOne)
{
    for (const char* end : {"\n", "\r\n", "\r"}) {
        const QString e = QString::fromLatin1(end);
        const RequestFile f = Parse(QStringLiteral("[TESTATA]") + e + QStringLiteral("COPIE=3") + e + QStringLiteral("[TESTATA]") + e
                                    + QStringLiteral("COPIE=4"));
        ASSERT_EQ(f.testate.size(), 2u) << end;
        EXPECT_EQ(f.testate[0].copie, 3);
        EXPECT_EQ(f.testate[1].copie, 4);
    }
}

TEST(RequestFileTest, EanCodesAreFilledCutAndCheckedAgain)
{
    EXPECT_EQ(OneArticle(QStringLiteral("EANCARTONE=12345")).eanCartone, QStringLiteral("0000000123457"));
    EXPECT_EQ(OneArticle(QStringLiteral("EANARTICOLO=8001234567897")).eanArticolo, QStringLiteral("8001234567897"));
    EXPECT_EQ(OneArticle(QStringLiteral("EANARTICOLO=80012345678971234")).eanArticolo, QStringLiteral("8001234567897"));
    EXPECT_EQ(OneCarton(QStringLiteral("EANCARTONE=800123456789")).eanCartone, QStringLiteral("8001234567897"));
}

TEST(RequestFileTest, OneDigitFieldsFallBackWhenNotADigit)
{
    EXPECT_EQ(OneArticle(QStringLiteral("PREFGTIN=7x")).prefGTIN, QStringLiteral("7"));
    EXPECT_EQ(OneArticle(QStringLiteral("PREFGTIN=A1")).prefGTIN, QStringLiteral("0"));
    EXPECT_EQ(OneCarton(QStringLiteral("PREFGTIN=")).prefGTIN, QStringLiteral("0"));
    EXPECT_EQ(OneHeader(QStringLiteral("TIPOPALLET=25")).tipoPallet, QStringLiteral("2"));
    EXPECT_EQ(OneHeader(QStringLiteral("TIPOPALLET=E")).tipoPallet, QStringLiteral("1"));
    EXPECT_EQ(OneHeader(QStringLiteral("TIPOPALLET=")).tipoPallet, QStringLiteral("1"));
}

TEST(RequestFileTest, NumbersAreTheirLeadingValueRoundedHalfToEven)
{
    EXPECT_EQ(OneArticle(QStringLiteral("QTCARTONE=0")).qtCartone, 1);
    EXPECT_EQ(OneArticle(QStringLiteral("QTCARTONE=abc")).qtCartone, 1);
    EXPECT_EQ(OneArticle(QStringLiteral("QTCARTONE=12pezzi")).qtCartone, 12);
    EXPECT_EQ(OneArticle(QStringLiteral("QTCARTONE=2.5")).qtCartone, 2);
    EXPECT_EQ(OneArticle(QStringLiteral("QTCARTONE=3.5")).qtCartone, 4);
    EXPECT_EQ(OneArticle(QStringLiteral("NUMCARTONI=-5")).numCartoni, 1);
    EXPECT_EQ(OneArticle(QStringLiteral("UNITADURATA=3.6")).unitaDurata, 4);
    EXPECT_EQ(OneArticle(QStringLiteral("DURATAPRODOTTO=0")).durataProdotto, 0);
    EXPECT_DOUBLE_EQ(OneArticle(QStringLiteral("PESOCARTONE=12,75")).pesoCartone, 12.75);
    EXPECT_DOUBLE_EQ(OneArticle(QStringLiteral("PESOCARTONE=12.75kg")).pesoCartone, 12.75);
    EXPECT_EQ(OneCarton(QStringLiteral("NUMCARTONI=0")).numCartoni, 1);
    EXPECT_EQ(OneHeader(QStringLiteral("COPIE=0")).copie, 0);
    EXPECT_EQ(OneHeader(QStringLiteral("IDAPPTESTATE=123456")).idAppTestate, 123456);
    EXPECT_EQ(OneHeader(QStringLiteral("CONTATORESSCC=1000")).contatoreSSCC, 1000);
}

TEST(RequestFileTest, AValueBeyondItsColumnRefusesTheWholeFile)
{
    EXPECT_EQ(OneArticle(QStringLiteral("QTCARTONE=32767")).qtCartone, 32767);
    EXPECT_EQ(OneArticle(QStringLiteral("NUMCARTONI=-32768")).numCartoni, 1);
    for (const char* bad : {"[ARTICOLO]\nQTCARTONE=32768", "[ARTICOLO]\nNUMCARTONI=-32769", "[ARTICOLO]\nDURATAPRODOTTO=99999",
                            "[TESTATA]\nCOPIE=40000", "[TESTATA]\nCONTATORESSCC=3000000000",
                            "[IMBALLO]\nNUMCARTONI=99999999999999999999"}) {
        const RequestFile f = Parse(QStringLiteral("[TESTATA]\n[IMBALLO]\n[ARTICOLO]\n") + QString::fromLatin1(bad));
        EXPECT_FALSE(f.error.isEmpty()) << bad;
        EXPECT_TRUE(f.testate.empty() && f.imballi.empty() && f.articoli.empty()) << bad;
    }
}

// What no request may ask, whoever writes it: the file is refused on the line of the section
// that asks it, whatever the order of its keys.
TEST(RequestFileTest, WhatNoRequestMayAskRefusesTheFileOnItsSectionLine)
{
    EXPECT_EQ(OneArticle(QStringLiteral("UNITADURATA=4")).unitaDurata, 4);
    EXPECT_EQ(OneHeader(QStringLiteral("CONTATORESSCC=99999999\nSPECIFICACONTATORE=SI")).contatoreSSCC, 99999999);
    EXPECT_EQ(OneHeader(QStringLiteral("CONTATORESSCC=-5")).contatoreSSCC, -5) << "a counter the request does not ask for";
    EXPECT_EQ(OneCarton(QStringLiteral("NUMCARTONI=9999")).numCartoni, 9999);
    EXPECT_EQ(Parse(QStringLiteral("[TESTATA]\n[RIGA]\nNUMCARTONI=99999999")).testate.at(0).righe.at(0).numCartoni, 99999999);
    const std::pair<const char*, const char*> refused[] = {
        {"[ARTICOLO]\nUNITADURATA=7\nCODINTERNO=ART9", "L'articolo ART9 ha un'unità di durata non valida (7): deve essere tra 0 (ore) e 4 (anni)."},
        {"[ARTICOLO]\nUNITADURATA=-1", "L'articolo 000000000000 ha un'unità di durata non valida (-1): deve essere tra 0 (ore) e 4 (anni)."},
        {"[TESTATA]\nCONTATORESSCC=-5\nSPECIFICACONTATORE=SI", "ContatoreSSCC -5: il primo seriale va da 1 a 99999999."},
        {"[TESTATA]\nSPECIFICACONTATORE=SI\nCONTATORESSCC=123456789", "Il contatore SSCC ha raggiunto la fine del suo intervallo: il seriale 123456789 non sta nelle 8 cifre dell'SSCC."},
        {"[TESTATA]\nCOPIE=12000", "Copie 12000: al massimo 9999."},
        {"[TESTATA]\n[RIGA]\nNUMCARTONI=100000000", "NumCartoni 100000000: da 1 a 99999999."},
        {"[IMBALLO]\nNUMCARTONI=100000", "NumCartoni 100000: da 1 a 9999."},
    };
    for (const auto& [text, why] : refused) {
        const RequestFile f = Parse(QStringLiteral("[IMBALLO]\n\n") + QString::fromUtf8(text) + QStringLiteral("\n[IMBALLO]\n"));
        EXPECT_EQ(f.error, QString::fromUtf8(why)) << text;
        const int section = QString::fromUtf8(text).startsWith(QLatin1String("[TESTATA]\n[RIGA]")) ? 4 : 3;
        EXPECT_EQ(f.errorLine, section) << text;
        EXPECT_TRUE(f.testate.empty() && f.imballi.empty() && f.articoli.empty()) << text;
    }
}

TEST(RequestFileTest, YesNoValues)
{
    for (const char* yes : {"SI", "si", "S", "s\u00ec", "S\u00cc", "Y", "yes", "1", "-1"})
        EXPECT_TRUE(LeggiSiNo(QString::fromUtf8(yes))) << yes;
    for (const char* no : {"NO", "N", "0", "", "true", "2", "si "}) EXPECT_FALSE(LeggiSiNo(QString::fromUtf8(no))) << no;
    EXPECT_FALSE(OneCarton(QStringLiteral("AUTOLOTTO=true")).autoLotto);
    EXPECT_TRUE(OneCarton(QStringLiteral("AUTOLOTTO=0\nAUTOLOTTO=Y")).autoLotto);
    EXPECT_FALSE(OneHeader(QStringLiteral("AGGIORNACONTATORE=no")).aggiornaContatore);
    EXPECT_TRUE(OneHeader(QStringLiteral("RISTAMPA=S\u00ec")).ristampa);
}

TEST(RequestFileTest, TextsAreCutToTheirColumns)
{
    const RequestArticle a = OneArticle(QStringLiteral("CODINTERNO=ABCDEFGHIJKLMNOP\nDESCRIZIONE=") + QString(90, u'x'));
    EXPECT_EQ(a.codInterno, QStringLiteral("ABCDEFGHIJKLM"));
    EXPECT_EQ(a.descrizione, QString(80, u'x'));
    EXPECT_EQ(OneCarton(QStringLiteral("LOTTO=L1234567")).lotto, QStringLiteral("L12345"));
    EXPECT_EQ(OneCarton(QStringLiteral("LOTTO=")).lotto, QString());
}

TEST(RequestFileTest, DatesInTheRegionalOrIsoForm)
{
    const QDateTime march5(QDate(2024, 3, 5), QTime(14, 30));
    EXPECT_EQ(OneCarton(QStringLiteral("DATAORA=05/03/2024 14:30")).dataOra, march5);
    EXPECT_EQ(OneCarton(QStringLiteral("DATAORA=5/3/24 14.30")).dataOra, march5);
    EXPECT_EQ(OneCarton(QStringLiteral("DATAORA=2024-03-05 14:30:00")).dataOra, march5);
    EXPECT_EQ(OneCarton(QStringLiteral("DATAORA=05/03/2024")).dataOra, QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    EXPECT_EQ(OneCarton(QStringLiteral("DATAORA=domani")).dataOra, kImport);
    EXPECT_EQ(OneCarton(QStringLiteral("DATAORA=31/02/2024")).dataOra, kImport);
}

TEST(RequestFileTest, LinesAreNumberedAcrossTheFileAndBelongToTheLastHeader)
{
    const RequestFile f = Parse(QStringLiteral("[TESTATA]\n[RIGA]\nLOTTO=A\n[RIGA]\nLOTTO=B\n[IMBALLO]\n[TESTATA]\n[RIGA]\n[RIGA]\nLOTTO=D\n"));
    ASSERT_EQ(f.testate.size(), 2u);
    ASSERT_EQ(f.testate[0].righe.size(), 2u);
    ASSERT_EQ(f.testate[1].righe.size(), 2u);
    EXPECT_EQ(f.testate[0].righe[0].numRiga, 1);
    EXPECT_EQ(f.testate[0].righe[1].lotto, QStringLiteral("B"));
    EXPECT_EQ(f.testate[0].righe[1].numRiga, 2);
    EXPECT_EQ(f.testate[1].righe[0].numRiga, 3);
    EXPECT_EQ(f.testate[1].righe[1].numRiga, 4);
    EXPECT_EQ(f.testate[1].righe[1].lotto, QStringLiteral("D"));
    EXPECT_EQ(f.imballi.size(), 1u);
}

TEST(RequestFileTest, ALineBeforeAnyHeaderRefusesTheFile)
{
    const RequestFile f = Parse(QStringLiteral("[ARTICOLO]\nCODINTERNO=X\n[RIGA]\n[TESTATA]\n[RIGA]\n"));
    EXPECT_FALSE(f.error.isEmpty());
    EXPECT_EQ(f.errorLine, 3);
    EXPECT_TRUE(f.articoli.empty());
    EXPECT_TRUE(f.testate.empty());
}

} // namespace
