#include "DdtFixture.h"

using DeliveryNotePage = DdtTest;

TEST_F(DeliveryNotePage, NoNoteOpensWithoutAFittingNumberAndARealDate)
{
    Dialogs().type(QString());
    w->ui.cmdNuovoDDT->click();
    EXPECT_TRUE(w->ui.txtNumDDT->text().isEmpty());
    nuovo(QStringLiteral("4"), QStringLiteral("30/02/26"));
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Data errata"));
    EXPECT_TRUE(w->ui.txtNumDDT->text().isEmpty());
    EXPECT_FALSE(w->ui.cmdSalvaDDT->isEnabled());
    // A number longer than its field is refused rather than cut.
    Dialogs().type(QString(51, u'9'));
    w->ui.cmdNuovoDDT->click();
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Il numero del DDT può avere al massimo 50 caratteri."));
    EXPECT_TRUE(w->ui.txtNumDDT->text().isEmpty());
    nuovo(QString(50, u'9'), QStringLiteral("01/02/26"));
    EXPECT_EQ(w->ui.txtNumDDT->text(), QString(50, u'9'));
    w->ui.cmdSalvaDDT->setEnabled(false);

    Dialogs().type(QStringLiteral("4"));
    Dialogs().type(QStringLiteral("01/02/26"));
    w->ui.cmdCercaDDT->click();
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("DDT non trovato!"));
    EXPECT_TRUE(w->ui.cmdCercaDDT->isEnabled());
    EXPECT_TRUE(w->ui.cmdNuovoDDT->isEnabled());
}

TEST_F(DeliveryNotePage, PendingChangesAreKeptOnCancelAndWaitForAPrint)
{
    nuovo(QStringLiteral("1"), QStringLiteral("01/03/26"));
    Dialogs().answer(vbCancel);
    w->ui.cmdNuovoDDT->click();
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Salvo le ultime modifiche?"));
    EXPECT_EQ(w->ui.txtNumDDT->text(), QStringLiteral("1"));
    EXPECT_TRUE(w->ui.cmdNuovoDDT->isEnabled());

    w->ui.cmdStampaDDT->setEnabled(false);
    w->ui.cmdSalvaDDT->click();
    w->ui.cmdNuovoDDT->click();
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTTestate")), 0);
    w->ui.cmdStampaDDT->setEnabled(true);

    Dialogs().answer(vbYes);
    Dialogs().type(QString());
    w->ui.cmdNuovoDDT->click();
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM DDTTestate")), 1);
    EXPECT_FALSE(w->ui.cmdSalvaDDT->isEnabled());
}

TEST_F(DeliveryNotePage, OnlyArchivedNewSsccsOfEighteenCharactersAreAdded)
{
    archivia(kSscc1, 1);
    archivia(kSscc2.left(17), 1);
    w->ui.cmdAggiungiSSCC->click();
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Selezionare prima gli estremi del DDT."));
    nuovo(QStringLiteral("1"), QStringLiteral("01/03/26"));
    w->ui.cmdSalvaDDT->click();

    aggiungi(kSscc2.left(17));
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("SSCC incompleto (richieste 18 cifre)."));
    aggiungi(kSscc3);
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("SSCC non in archivio."));
    aggiungi(QStringLiteral("]C1") + kSscc3);
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("SSCC incompleto (richieste 18 cifre).")) << "no application identifier";
    // As a scanner sends it.
    aggiungi(QStringLiteral(" ]C100") + kSscc1);
    aggiungi(QStringLiteral("00") + kSscc1);
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("SSCC già presente."));
    EXPECT_EQ(Dialogs().messages().back().title, QStringLiteral("Errore"));
    EXPECT_EQ(griglia(), QStringList{kSscc1});
    EXPECT_TRUE(w->ui.cmdSalvaDDT->isEnabled());
}

TEST_F(DeliveryNotePage, RowsMoveWithTheirSelectionStopAtTheEndsAndAreRemoved)
{
    for (const QString& s : {kSscc1, kSscc2, kSscc3}) archivia(s, 1);
    nuovo(QStringLiteral("1"), QStringLiteral("01/03/26"));
    for (const QString& s : {kSscc1, kSscc2, kSscc3}) aggiungi(s);
    w->ui.cmdSalvaDDT->click();
    FlexGrid& g = *w->ui.flxDDT;

    w->ui.cmdEliminaSSCC->click(); // no row selected
    g.SetRow(1);
    w->ui.cmdUpSSCC->click();
    g.SetRow(3);
    w->ui.cmdDownSSCC->click();
    EXPECT_EQ(griglia(), (QStringList{kSscc1, kSscc2, kSscc3}));
    EXPECT_FALSE(w->ui.cmdSalvaDDT->isEnabled());

    w->ui.cmdUpSSCC->click();
    w->ui.cmdUpSSCC->click();
    EXPECT_EQ(griglia(), (QStringList{kSscc3, kSscc1, kSscc2}));
    w->ui.cmdDownSSCC->click();
    EXPECT_EQ(griglia(), (QStringList{kSscc1, kSscc3, kSscc2}));
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.selectionModel()->selectedRows().front().row(), 1);
    EXPECT_TRUE(w->ui.cmdSalvaDDT->isEnabled());

    for (int n = 0; n < 3; ++n) {
        g.SetRow(1);
        w->ui.cmdEliminaSSCC->click();
    }
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(g.TextMatrix(0, 0), QStringLiteral("SSCC"));
}
