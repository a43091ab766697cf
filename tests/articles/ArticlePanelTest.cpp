#include "ArticleWindow.h"

#include "core/db/Recordset.h"

#include <QApplication>
#include <QClipboard>

#include <tuple>

namespace {

const QColor kRosa(245, 141, 141);
const QColor kBianco(255, 255, 255);

QColor sfondo(const QLineEdit* campo) { return campo->palette().color(QPalette::Base); }

} // namespace

class ArticlePanel : public ArticleWindow {
protected:
    void compila(const QString& s)
    {
        const Ui::frmArticoli& ui = w->ui;
        scrivi(ui.txtSigla, s);
        scrivi(ui.txtCodInterno, QStringLiteral("INT-") + s);
        scrivi(ui.txtDescrizione, QStringLiteral("ABC"));
        scrivi(ui.txtDescrizione2, QStringLiteral("DEF"));
        scrivi(ui.txtEAN, QStringLiteral("4006381333931"));
        scrivi(ui.txtGTIN, QStringLiteral("8001234567897"));
        scrivi(ui.txtPesoCassa, QStringLiteral("12.5"));
        scrivi(ui.txtQtPallet, QStringLiteral("40"));
        ui.cmbDurata->setCurrentIndex(4);
    }
    bool inModifica() const { return w->ui.cmdNuovoArticolo->text() == QLatin1String("&Memorizza"); }
    static QVariant colonna(qint64 id, const char* nome)
    {
        return DB->OpenRecordset(QStringLiteral("SELECT * FROM Articoli WHERE ID = %1").arg(id))->Value(QString::fromLatin1(nome));
    }
};

TEST_F(ArticlePanel, EmptyTableShowsANewArticleWithTheSetupDefaultsInBrowseMode)
{
    rsSetup->Edit();
    rsSetup->SetValue(QStringLiteral("StampaEANProd"), false);
    rsSetup->Update();
    w->CaricaArticolo();
    const Ui::frmArticoli& ui = w->ui;
    EXPECT_EQ(ui.txtEAN->text(), QStringLiteral("0000000000000"));
    EXPECT_EQ(ui.txtPrefGTIN->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.txtQtCassa->text(), QStringLiteral("1"));
    EXPECT_EQ(ui.txtTipoPallet->text(), QStringLiteral("1"));
    EXPECT_EQ(ui.txtDurataProdotto->text(), QStringLiteral("30"));
    EXPECT_EQ(ui.cmbDurata->currentText(), QStringLiteral("Giorni"));
    EXPECT_TRUE(ui.txtSigla->text().isEmpty());

    EXPECT_FALSE(ui.txtSigla->isEnabled());
    EXPECT_FALSE(ui.cmbDurata->isEnabled());
    EXPECT_FALSE(ui.cmdAnnulla->isVisibleTo(w.get()));
    EXPECT_TRUE(ui.cmdAvanti->isVisibleTo(w.get()));
    EXPECT_TRUE(ui.cmdStampa->isEnabled());
}

TEST_F(ArticlePanel, OperatorCreatesCopiesAndModifiesAnArticle)
{
    const Ui::frmArticoli& ui = w->ui;
    ui.cmdNuovoArticolo->click();
    EXPECT_TRUE(inModifica());
    EXPECT_EQ(w->Stato, 1);
    EXPECT_EQ(w->Tag, QStringLiteral("-1"));
    EXPECT_TRUE(ui.txtSigla->isEnabled());
    EXPECT_TRUE(ui.cmdAnnulla->isVisibleTo(w.get()));
    EXPECT_FALSE(ui.cmdCercaAbb->isVisibleTo(w.get()));
    EXPECT_FALSE(ui.cmdStampaDDT->isEnabled());

    compila(QStringLiteral("pas"));
    ui.cmdNuovoArticolo->click();
    ASSERT_TRUE(Dialogs().messages().empty()) << Dialogs().messages()[0].prompt.toStdString();
    EXPECT_FALSE(inModifica());
    EXPECT_FALSE(ui.txtSigla->isEnabled());
    ASSERT_EQ(conta(), 1);
    const qint64 id = rsArticoli->Value(QStringLiteral("ID")).toLongLong();
    EXPECT_EQ(colonna(id, "Sigla").toString(), QStringLiteral("PAS"));
    EXPECT_EQ(colonna(id, "Descrizione").toString(), QStringLiteral("ABC") + QString(37, u' ') + QStringLiteral("DEF") + QString(37, u' '));
    EXPECT_EQ(colonna(id, "PesoCartone").toDouble(), 12.5);
    EXPECT_EQ(colonna(id, "UnitaDurata").toInt(), 4);
    EXPECT_EQ(ui.txtDescrizione->text(), QStringLiteral("ABC"));

    // A copy keeps the abbreviation, which another article now has.
    ui.cmdCopiaArticolo->click();
    EXPECT_EQ(w->Stato, 3);
    ui.cmdNuovoArticolo->click();
    ASSERT_EQ(Dialogs().prompts(), std::vector<QString>{QStringLiteral("Sigla duplicata.")});
    EXPECT_EQ(Dialogs().messages()[0].title, QStringLiteral("Errore"));
    EXPECT_EQ(Dialogs().messages()[0].icon(), vbCritical);
    EXPECT_TRUE(inModifica());
    EXPECT_EQ(sfondo(ui.txtSigla), kRosa);
    EXPECT_EQ(sfondo(ui.txtCodInterno), kBianco);
    scrivi(ui.txtSigla, QStringLiteral("PAS2"));
    ui.cmdNuovoArticolo->click();
    EXPECT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(sfondo(ui.txtSigla), kBianco);
    ASSERT_EQ(conta(), 2);
    const qint64 copia = rsArticoli->Value(QStringLiteral("ID")).toLongLong();
    EXPECT_NE(copia, id);
    EXPECT_EQ(colonna(copia, "CodInterno").toString(), QStringLiteral("INT-pas"));

    // Modifying an article without touching its abbreviation is not a duplicate of itself.
    ui.cmdModificaArticolo->click();
    EXPECT_EQ(w->Tag, QString::number(copia));
    scrivi(ui.txtDescrizione, QStringLiteral("Nuova"));
    ui.cmdNuovoArticolo->click();
    EXPECT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(conta(), 2);
    EXPECT_TRUE(colonna(copia, "Descrizione").toString().startsWith(QStringLiteral("Nuova ")));
    EXPECT_EQ(colonna(id, "Descrizione").toString().left(3), QStringLiteral("ABC"));
}

TEST_F(ArticlePanel, LoadingSplitsTheDescriptionAndCopiesTheCartonCount)
{
    aggiungi(QStringLiteral("X"), QStringLiteral("1"), QStringLiteral(" Prima riga") + QString(29, u' ') + QStringLiteral("seconda  "));
    mostraPrimo();
    EXPECT_EQ(w->ui.txtDescrizione->text(), QStringLiteral("Prima riga"));
    EXPECT_EQ(w->ui.txtDescrizione2->text(), QStringLiteral("seconda"));
    EXPECT_EQ(w->ui.txtPesoCassa->text(), QStringLiteral("12.5"));
    EXPECT_EQ(w->ui.txtQtPallet->text(), QStringLiteral("80"));
    EXPECT_EQ(w->ui.mskQtCartoni->text(), QStringLiteral("80"));
    EXPECT_EQ(w->ui.cmbDurata->currentText(), QStringLiteral("Mesi"));
}

TEST_F(ArticlePanel, LeavingAnEANFieldCompletesIt)
{
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->ui.cmdNuovoArticolo->click();
    for (QLineEdit* campo : {w->ui.txtEAN, w->ui.txtGTIN}) {
        campo->setFocus();
        scrivi(campo, QStringLiteral("400638133393"));
        QTest::keyClick(campo, Qt::Key_Tab);
        EXPECT_FALSE(campo->hasFocus());
        EXPECT_EQ(campo->text(), QStringLiteral("4006381333931"));
    }
}

TEST_F(ArticlePanel, BrowsingStopsAtBothEnds)
{
    const qint64 primo = aggiungi(QStringLiteral("A"), QStringLiteral("1"));
    aggiungi(QStringLiteral("B"), QStringLiteral("2"));
    const qint64 ultimo = aggiungi(QStringLiteral("C"), QStringLiteral("3"));
    mostraPrimo();
    w->ui.cmdIndietro->click();
    EXPECT_EQ(sigla(), QStringLiteral("A"));
    EXPECT_EQ(rsArticoli->Value(QStringLiteral("ID")).toLongLong(), primo);
    for (int i = 0; i < 4; ++i) w->ui.cmdAvanti->click();
    EXPECT_EQ(sigla(), QStringLiteral("C"));
    w->ui.cmdModificaArticolo->click();
    EXPECT_EQ(w->Tag, QString::number(ultimo));
    w->ui.cmdAnnulla->click();
    w->ui.cmdIndietro->click();
    EXPECT_EQ(sigla(), QStringLiteral("B"));
}

TEST_F(ArticlePanel, DeletingTheLastShowsTheFirstAndTheOnlyShowsANewArticle)
{
    aggiungi(QStringLiteral("A"), QStringLiteral("1"));
    aggiungi(QStringLiteral("B"), QStringLiteral("2"));
    mostraPrimo();
    w->ui.cmdAvanti->click();
    Dialogs().answer(vbNo);
    w->ui.cmdEliminaArticolo->click();
    EXPECT_EQ(conta(), 2);
    const ShownMessage domanda = Dialogs().messages().at(0);
    EXPECT_EQ(domanda.prompt, QStringLiteral("Eliminare l'articolo?"));
    EXPECT_EQ(domanda.title, QStringLiteral("Richiesta"));
    EXPECT_EQ(domanda.style, vbYesNo | vbQuestion);

    Dialogs().answer(vbYes);
    w->ui.cmdEliminaArticolo->click();
    EXPECT_EQ(conta(), 1);
    EXPECT_EQ(sigla(), QStringLiteral("A"));
    Dialogs().answer(vbYes);
    w->ui.cmdEliminaArticolo->click();
    EXPECT_EQ(conta(), 0);
    EXPECT_TRUE(sigla().isEmpty());
    EXPECT_EQ(w->ui.txtPrefGTIN->text(), QStringLiteral("0"));

    Dialogs().reset();
    for (QPushButton* b : {w->ui.cmdEliminaArticolo, w->ui.cmdCopiaArticolo, w->ui.cmdModificaArticolo}) b->click();
    EXPECT_EQ(Dialogs().prompts(), std::vector<QString>(3, QStringLiteral("Nessun record corrente!")));
    EXPECT_EQ(w->ui.cmdNuovoArticolo->text(), QStringLiteral("&Nuovo"));
}

TEST_F(ArticlePanel, AFailedSaveShowsTheEngineErrorAndKeepsTheEdit)
{
    const qint64 id = aggiungi(QStringLiteral("A"), QStringLiteral("1"));
    mostraPrimo();
    DB->ExecuteNative(QStringLiteral("CREATE TRIGGER rifiuta BEFORE UPDATE ON Articoli BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"));
    w->ui.cmdModificaArticolo->click();
    scrivi(w->ui.txtSigla, QStringLiteral("K"));
    w->ui.cmdNuovoArticolo->click();
    EXPECT_EQ(Dialogs().prompts(), (std::vector<QString>{QStringLiteral("Errore: Modifica rifiutata da un vincolo del database (disco pieno)"), QStringLiteral("Salvataggio fallito!")}));
    EXPECT_TRUE(inModifica());
    EXPECT_EQ(sigla(), QStringLiteral("K"));

    // Cancelling drops the pending write: the panel shows the stored article again.
    w->ui.cmdAnnulla->click();
    EXPECT_FALSE(inModifica());
    EXPECT_EQ(sigla(), QStringLiteral("A"));
    EXPECT_EQ(rsArticoli->EditMode(), dbEditNone);

    DB->ExecuteNative(QStringLiteral("DROP TRIGGER rifiuta"));
    w->ui.cmdModificaArticolo->click();
    scrivi(w->ui.txtSigla, QStringLiteral("K"));
    w->ui.cmdNuovoArticolo->click();
    EXPECT_EQ(Dialogs().messages().size(), 2u);
    EXPECT_EQ(colonna(id, "Sigla").toString(), QStringLiteral("K"));
}

TEST_F(ArticlePanel, HighlightGroupsAndModesOutsideTheTwo)
{
    w->EvidenziaCampo(3);
    EXPECT_EQ(sfondo(w->ui.txtDescrizione), kRosa);
    EXPECT_EQ(sfondo(w->ui.txtDescrizione2), kRosa);
    EXPECT_EQ(sfondo(w->ui.txtEAN), kBianco);
    w->EvidenziaCampo(0);
    EXPECT_EQ(sfondo(w->ui.txtDescrizione), kBianco);

    for (int modo : {0, 3}) {
        w->Pulsanti(modo);
        EXPECT_EQ(w->ui.cmdNuovoArticolo->text(), QStringLiteral("&Nuovo"));
        EXPECT_FALSE(w->ui.txtSigla->isEnabled());
        EXPECT_TRUE(w->ui.cmdAvanti->isVisibleTo(w.get()));
    }
}

// What the panel writes is what the operator typed or pasted, read right, and what was stored and
// not touched.
TEST_F(ArticlePanel, SavedValuesAreTheTypedOnesReadRightAndTheUntouchedOnesAsStored)
{
    const Ui::frmArticoli& ui = w->ui;
    const qint64 id = aggiungi(QStringLiteral("A"), QStringLiteral("1"));
    DB->ExecuteNative(QStringLiteral("UPDATE Articoli SET UnitaDurata = NULL"));
    aggiungi(QStringLiteral("B"), QStringLiteral("2"));
    DB->ExecuteNative(QStringLiteral("UPDATE Articoli SET UnitaDurata = 7 WHERE Sigla = 'B'"));
    mostraPrimo();
    EXPECT_EQ(ui.cmbDurata->currentIndex(), -1);
    EXPECT_EQ(ui.cmbDurata->placeholderText(), QStringLiteral("Nessuna unità"));

    // A decimal comma is the decimal separator; pasted text obeys the keys' filters; a shortcut
    // that leaves the focus in an EAN field still completes it.
    ui.cmdModificaArticolo->click();
    scrivi(ui.txtPesoCassa, QStringLiteral("12,5,0"));
    EXPECT_EQ(ui.txtPesoCassa->text(), QStringLiteral("12.50"));
    for (const auto& [campo, incollato, resta] : {std::tuple{ui.txtQtCassa, "A7", "7"}, {ui.txtTipoPallet, "A", ""},
                                                  {ui.txtPrefGTIN, "A", ""}, {ui.txtSigla, "ab", "AB"}}) {
        QApplication::clipboard()->setText(QString::fromLatin1(incollato));
        campo->selectAll();
        campo->paste();
        EXPECT_EQ(campo->text(), QString::fromLatin1(resta)) << incollato;
    }
    scrivi(ui.txtTipoPallet, QStringLiteral("3"));
    scrivi(ui.txtPrefGTIN, QStringLiteral("1"));
    scrivi(ui.txtQtPallet, QStringLiteral("60"));
    scrivi(ui.txtGTIN, QStringLiteral("400638133393"));
    ui.cmdNuovoArticolo->click();
    ASSERT_TRUE(Dialogs().messages().empty()) << Dialogs().messages()[0].prompt.toStdString();
    EXPECT_DOUBLE_EQ(colonna(id, "PesoCartone").toDouble(), 12.5);
    EXPECT_EQ(colonna(id, "QtCartone").toInt(), 7);
    EXPECT_EQ(colonna(id, "Sigla").toString(), QStringLiteral("AB"));
    EXPECT_EQ(colonna(id, "EANCartone").toString(), QStringLiteral("4006381333931"));
    EXPECT_TRUE(colonna(id, "UnitaDurata").isNull());
    EXPECT_EQ(ui.mskQtCartoni->text(), QStringLiteral("60"));

    // A unit outside the five is said so and kept, until the operator chooses one.
    w->ui.cmdAvanti->click();
    EXPECT_EQ(sigla(), QStringLiteral("B"));
    EXPECT_EQ(ui.cmbDurata->currentIndex(), -1);
    EXPECT_EQ(ui.cmbDurata->placeholderText(), QStringLiteral("Unità 7 non valida"));
    ui.cmdModificaArticolo->click();
    scrivi(ui.txtDescrizione, QStringLiteral("Altra"));
    ui.cmdNuovoArticolo->click();
    const qint64 b = rsArticoli->Value(QStringLiteral("ID")).toLongLong();
    EXPECT_EQ(colonna(b, "UnitaDurata").toInt(), 7);
    ui.cmdModificaArticolo->click();
    ui.cmbDurata->setCurrentIndex(1);
    ui.cmdNuovoArticolo->click();
    EXPECT_EQ(colonna(b, "UnitaDurata").toInt(), 1);
    EXPECT_TRUE(Dialogs().messages().empty());
}

// Field lengths limit what is typed: a longer stored value is shown and saved back whole.
TEST_F(ArticlePanel, StoredValuesLongerThanTheirFieldsAreShownAndKeptWhole)
{
    const Ui::frmArticoli& ui = w->ui;
    const qint64 id = aggiungi(QStringLiteral("A"), QStringLiteral("1"));
    DB->ExecuteNative(QStringLiteral("UPDATE Articoli SET DurataProdotto = 1095, QtCartone = 123456, PesoCartone = 123.456"));
    mostraPrimo();
    EXPECT_EQ(ui.txtDurataProdotto->text(), QStringLiteral("1095"));
    EXPECT_EQ(ui.txtQtCassa->text(), QStringLiteral("123456"));
    EXPECT_EQ(ui.txtPesoCassa->text(), QStringLiteral("123.456"));

    ui.cmdModificaArticolo->click();
    ui.txtQtCassa->end(false);
    QTest::keyClicks(ui.txtQtCassa, QStringLiteral("7"));
    EXPECT_EQ(ui.txtQtCassa->text(), QStringLiteral("123456"));
    ui.cmdNuovoArticolo->click();
    ASSERT_TRUE(Dialogs().messages().empty());
    EXPECT_EQ(colonna(id, "DurataProdotto").toInt(), 1095);
    EXPECT_EQ(colonna(id, "QtCartone").toInt(), 123456);
    EXPECT_DOUBLE_EQ(colonna(id, "PesoCartone").toDouble(), 123.456);

    // What the operator types obeys the limit again, and a shorter article loaded next is not
    // allowed the longer one's length.
    ui.cmdModificaArticolo->click();
    scrivi(ui.txtDurataProdotto, QStringLiteral("12345"));
    EXPECT_EQ(ui.txtDurataProdotto->text(), QStringLiteral("123"));
    ui.cmdAnnulla->click();
    aggiungi(QStringLiteral("B"), QStringLiteral("2"));
    ui.cmdAvanti->click();
    ASSERT_EQ(sigla(), QStringLiteral("B"));
    ui.cmdModificaArticolo->click();
    ui.txtQtCassa->end(false);
    QTest::keyClicks(ui.txtQtCassa, QStringLiteral("12345"));
    EXPECT_EQ(ui.txtQtCassa->text(), QStringLiteral("61234"));
    ui.cmdAnnulla->click();
}

// The marks of a refused save go with the edit: cancelling or loading an article clears them.
TEST_F(ArticlePanel, RefusedSaveMarksGoWithTheEdit)
{
    aggiungi(QStringLiteral("A"), QStringLiteral("1"));
    aggiungi(QStringLiteral("B"), QStringLiteral("2"));
    mostraPrimo();
    auto rifiuta = [&] {
        w->ui.cmdModificaArticolo->click();
        scrivi(w->ui.txtEAN, QStringLiteral("4006381333932"));
        w->ui.cmdNuovoArticolo->click();
        EXPECT_EQ(sfondo(w->ui.txtEAN), kRosa);
    };
    rifiuta();
    EXPECT_EQ(Dialogs().prompts(), (std::vector<QString>{QStringLiteral("Il check digit del codice EAN articolo è errato.")}));
    w->ui.cmdAnnulla->click();
    EXPECT_EQ(sfondo(w->ui.txtEAN), kBianco);

    rifiuta();
    w->ui.cmdAnnulla->click();
    w->EvidenziaCampo(4);
    w->ui.cmdAvanti->click();
    EXPECT_EQ(sigla(), QStringLiteral("B"));
    EXPECT_EQ(sfondo(w->ui.txtEAN), kBianco);
}
