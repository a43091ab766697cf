#include "DdtFixture.h"

#include "ddt/DeliveryNote.h"

using DeliveryNote = DdtTest;

TEST(DeliveryNoteDate, StoredWithSlashesAndTwoDigitParts)
{
    EXPECT_EQ(LeggiDataDDT(QStringLiteral("5/1/26")), QStringLiteral("05/01/26"));
    EXPECT_EQ(LeggiDataDDT(QStringLiteral("31.12.2025")), QStringLiteral("31/12/25"));
    EXPECT_FALSE(LeggiDataDDT(QStringLiteral("30/02/26")));
}

TEST_F(DeliveryNote, SavedWithACopyOfEveryArchivedLineAndFoundAgain)
{
    archivia(kSscc1, 3);
    archivia(kSscc2, 1);
    nuovo(QStringLiteral(" 12 "), QStringLiteral("5/1/26"));
    EXPECT_EQ(w->ui.mskDataDDT->text(), QStringLiteral("05/01/26"));
    EXPECT_TRUE(w->ui.cmdSalvaDDT->isEnabled()) << "an empty note can be saved";
    aggiungi(kSscc2);
    aggiungi(kSscc1);
    w->ui.cmdSalvaDDT->click();
    EXPECT_FALSE(w->ui.cmdSalvaDDT->isEnabled());

    auto rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM DDTRighe ORDER BY NumRiga"));
    for (const QString& atteso : {kSscc2 + "L1", kSscc1 + "L1", kSscc1 + "L2", kSscc1 + "L3"}) {
        ASSERT_FALSE(rs->Eof());
        EXPECT_EQ(rs->Value(QStringLiteral("SSCC")).toString() + rs->Value(QStringLiteral("Lotto")).toString(), atteso);
        rs->MoveNext();
    }
    EXPECT_TRUE(rs->Eof());
    rs->MoveLast();
    EXPECT_EQ(rs->Value(QStringLiteral("NumRiga")).toInt(), 4);
    EXPECT_EQ(rs->Value(QStringLiteral("QtCartoni")).toInt(), 30);
    EXPECT_EQ(rs->Value(QStringLiteral("DataScadenza")).toDateTime().date(), QDate(2027, 3, 3));
    EXPECT_EQ(rs->Value(QStringLiteral("Descrizione")).toString(), QStringLiteral("Articolo 3"));

    Dialogs().type(QStringLiteral("12"));
    Dialogs().type(QStringLiteral("05/01/2026"));
    w->ui.cmdCercaDDT->click();
    EXPECT_EQ(w->ui.txtNumDDT->text(), QStringLiteral("12"));
    EXPECT_EQ(griglia(), (QStringList{kSscc2, kSscc1})) << "a pallet of three lines is one row";
    EXPECT_FALSE(w->ui.cmdSalvaDDT->isEnabled());
}

TEST_F(DeliveryNote, SavingAgainReplacesTheNoteOfTheSameNumberAndDateOnly)
{
    archivia(kSscc1, 2);
    archivia(kSscc2, 1);
    const DDTTables t{*DB, *rsDDTTestate, *rsDDTRighe, *rsAppTestate};
    const QString numero = QStringLiteral("7'A");
    ScriviDDT(t, numero, QStringLiteral("05/01/26"), {kSscc1});
    ScriviDDT(t, numero, QStringLiteral("06/01/26"), {kSscc1});
    ScriviDDT(t, numero, QStringLiteral("05/01/26"), {kSscc2});
    EXPECT_EQ(LeggiDDT(t, numero, QStringLiteral("05/01/26")), QStringList{kSscc2});
    EXPECT_EQ(LeggiDDT(t, numero, QStringLiteral("06/01/26")), QStringList{kSscc1});
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTTestate")), 2);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTRighe")), 3) << "the replaced note's lines are gone";
}

TEST_F(DeliveryNote, AFailedSaveKeepsBothTheSavedNoteAndTheChanges)
{
    archivia(kSscc1, 2);
    archivia(kSscc2, 2);
    nuovo(QStringLiteral("9"), QStringLiteral("01/02/26"));
    aggiungi(kSscc1);
    w->ui.cmdSalvaDDT->click();
    aggiungi(kSscc2);
    DB->ExecuteNative(QStringLiteral("CREATE TRIGGER guasto BEFORE INSERT ON DDTRighe WHEN NEW.NumRiga = 4 "
                                     "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"));

    // Yes to the question, the save fails: nothing is replaced on file or on the page.
    Dialogs().answer(vbYes);
    w->ui.cmdNuovoDDT->click();
    EXPECT_TRUE(ultimoMessaggio().contains(QStringLiteral("disco pieno")));
    EXPECT_FALSE(DB->InTransaction());
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTTestate")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTRighe WHERE SSCC = '") + kSscc1 + QStringLiteral("'")), 2);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTRighe")), 2);
    EXPECT_EQ(w->ui.txtNumDDT->text(), QStringLiteral("9"));
    EXPECT_EQ(griglia(), (QStringList{kSscc1, kSscc2}));
    EXPECT_TRUE(w->ui.cmdSalvaDDT->isEnabled());
    EXPECT_TRUE(w->ui.cmdNuovoDDT->isEnabled());
}

TEST_F(DeliveryNote, SavingAfterTheArchiveWasClearedDropsEveryPallet)
{
    archivia(kSscc1, 2);
    archivia(kSscc2, 1);
    nuovo(QStringLiteral("1"), QStringLiteral("01/03/26"));
    aggiungi(kSscc1);
    aggiungi(kSscc2);
    DB->Execute(QStringLiteral("DELETE FROM AppTestate"));
    w->ui.cmdSalvaDDT->click();

    EXPECT_EQ(Dialogs().prompts(), (std::vector<QString>{QStringLiteral("SSCC non trovato rimosso: ") + kSscc1,
                                                         QStringLiteral("SSCC non trovato rimosso: ") + kSscc2}));
    EXPECT_EQ(Dialogs().messages().back().icon(), vbInformation);
    EXPECT_EQ(w->ui.flxDDT->Rows(), 1);
    EXPECT_EQ(w->ui.flxDDT->TextMatrix(0, 0), QStringLiteral("SSCC"));
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTTestate")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTRighe")), 0);
}
