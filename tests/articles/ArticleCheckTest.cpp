#include "articles/ArticleCheck.h"
#include "core/Globals.h"
#include "core/Startup.h"
#include "core/Utility.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

namespace {

ArticoloCampi valido()
{
    ArticoloCampi a;
    a.sigla = QStringLiteral("AB1");
    a.codInterno = QStringLiteral("INT-1");
    a.descrizione = QStringLiteral("Passata di pomodoro");
    a.ean = QStringLiteral("0000000000000");
    a.qtCassa = QStringLiteral("12");
    a.gtin = AppendCheckDigit(QStringLiteral("800123456789"));
    a.pesoCassa = QStringLiteral("0.5");
    a.tipoPallet = QString();
    a.qtPallet = QStringLiteral("80");
    a.durataProdotto = QStringLiteral("30");
    a.prefGTIN = QStringLiteral("1");
    return a;
}

std::optional<ControlloFallito> controlla(const ArticoloCampi& a, bool duplicata = false)
{
    return ControllaCampiArticolo(a, [&](const QString&) { return duplicata; });
}

} // namespace

TEST(ArticleCheck, EachCheckFailsWithItsMessageAndGroupInOrder)
{
    EXPECT_FALSE(controlla(valido())) << "13 zeros, an empty pallet type and a weight of 0.5 pass";

    struct Caso {
        QString ArticoloCampi::*campo;
        QString testo;
        QString messaggio;
        int gruppo;
    };
    // Each case breaks one more field, so each check must come before the ones after it.
    const Caso casi[] = {
        {&ArticoloCampi::codInterno, " ", "Il codice interno non può essere vuoto.", 2},
        {&ArticoloCampi::durataProdotto, "", "La durata del prodotto non può essere nulla.", 10},
        {&ArticoloCampi::qtPallet, "0", "Il numero di cartoni per pallet non può essere nullo.", 9},
        {&ArticoloCampi::qtCassa, "", "La quantità per cassa non può essere nulla.", 5},
        {&ArticoloCampi::pesoCassa, "0.0", "Il peso della cassa non è stato specificato o è nullo.", 7},
        {&ArticoloCampi::descrizione, "  ", "La descrizione dell'articolo è vuota.", 3},
        {&ArticoloCampi::prefGTIN, "", "Il prefisso GTIN deve essere numerico (0-9).", 11},
        {&ArticoloCampi::gtin, "8001234567891", "Il check digit del codice EAN cartone è errato.", 6},
        {&ArticoloCampi::gtin, "80012345678.9", "Il codice EAN cartone contiene caratteri non numerici.", 6},
        {&ArticoloCampi::gtin, "800123456789 ", "La lunghezza del codice EAN cartone è errata.", 6},
        {&ArticoloCampi::ean, "0000000000001", "Il check digit del codice EAN articolo è errato.", 4},
        {&ArticoloCampi::ean, "000000000000A", "Il codice EAN articolo contiene caratteri non numerici.", 4},
        {&ArticoloCampi::ean, "", "La lunghezza del codice EAN articolo è errata.", 4},
    };
    ArticoloCampi a = valido();
    for (const Caso& c : casi) {
        a.*c.campo = c.testo;
        const auto fallito = controlla(a);
        ASSERT_TRUE(fallito) << c.messaggio.toStdString();
        EXPECT_EQ(fallito->messaggio, c.messaggio);
        EXPECT_EQ(fallito->gruppo, c.gruppo);
    }
    const auto duplicata = controlla(a, true);
    ASSERT_TRUE(duplicata);
    EXPECT_EQ(duplicata->messaggio, QStringLiteral("Sigla duplicata."));
    EXPECT_EQ(duplicata->gruppo, 1);

    // A weight typed with a decimal comma is still a weight.
    ArticoloCampi virgola = valido();
    virgola.pesoCassa = QStringLiteral("0,5");
    EXPECT_FALSE(controlla(virgola));
}

TEST(ArticleCheck, BlankAbbreviationIsNeverLookedUp)
{
    ArticoloCampi a = valido();
    a.sigla = QStringLiteral("   ");
    bool chiesta = false;
    EXPECT_FALSE(ControllaCampiArticolo(a, [&](const QString&) { return chiesta = true; }));
    EXPECT_FALSE(chiesta);
}

TEST(ArticleCheck, DuplicateAbbreviationLookup)
{
    TestDataFolder folder;
    CartellaDati = folder.path();
    ASSERT_TRUE(ApriDatabase());
    DB->ExecuteNative(QStringLiteral("INSERT INTO Articoli (ID, Sigla) VALUES (7, 'L''ORO'), (8, 'AB'), (9, 'ÈLA')"));

    EXPECT_TRUE(SiglaDuplicata(*DB, QStringLiteral("l'oro"), ArticoloCopiato, QStringLiteral("-1")));
    EXPECT_FALSE(SiglaDuplicata(*DB, QStringLiteral("L'ORO"), ArticoloModificato, QStringLiteral("7")));
    EXPECT_TRUE(SiglaDuplicata(*DB, QStringLiteral("AB"), ArticoloModificato, QStringLiteral("7")));
    EXPECT_FALSE(SiglaDuplicata(*DB, QStringLiteral("A' OR ''='"), ArticoloInserito, QStringLiteral("-1")));
    EXPECT_TRUE(SiglaDuplicata(*DB, QStringLiteral("èla"), ArticoloInserito, QStringLiteral("-1")));
    EXPECT_FALSE(SiglaDuplicata(*DB, QStringLiteral("ela"), ArticoloInserito, QStringLiteral("-1")));
    CloseDatabase();
}

TEST(ArticleCheck, ShortEANsAreCompletedWithTheirCheckDigit)
{
    // d1 d2, a zero, d3..d6, four zeros, d7, then the check digit; an eighth digit is dropped.
    EXPECT_EQ(CompletaEAN(QStringLiteral("1234567")), AppendCheckDigit(QStringLiteral("120345600007")));
    EXPECT_EQ(CompletaEAN(QStringLiteral("12345679")), CompletaEAN(QStringLiteral("1234567")));
    EXPECT_EQ(CompletaEAN(QStringLiteral("80012345678")), AppendCheckDigit(QStringLiteral("080012345678")));
    EXPECT_EQ(CompletaEAN(QStringLiteral(" 400638133393 ")), QStringLiteral("4006381333931"));
    EXPECT_EQ(CompletaEAN(QStringLiteral("4006381333931")), QStringLiteral("4006381333931"));
    EXPECT_EQ(CompletaEAN(QStringLiteral("4006381333")), QStringLiteral("4006381333"));
    EXPECT_EQ(CompletaEAN(QString()), QString());
}
