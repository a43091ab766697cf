#include "ArticleWindow.h"

#include "articles/frmListaPNC.h"
#include "core/frmIntestazioni.h"

#include <QHeaderView>
#include <QPointer>

class ArticleSearch : public ArticleWindow {
protected:
    // Answers the next prompt; std::nullopt cancels it.
    void rispondi(std::optional<QString> testo)
    {
        Dialogs().onModal([this, testo](QDialog& d) {
            auto& richiesta = static_cast<frmIntestazioni&>(d);
            titolo = richiesta.windowTitle();
            domanda = richiesta.ui.txtRichiesta->text();
            if (!testo) {
                richiesta.ui.cmdAnnulla->click();
                return int(QDialog::Rejected);
            }
            richiesta.ui.txtIntestazione->setText(*testo);
            richiesta.ui.cmdOk->click();
            return int(QDialog::Accepted);
        });
    }
    frmListaPNC* lista() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return w->findChild<frmListaPNC*>();
    }
    QStringList colonna(int c) const
    {
        QStringList out;
        const FlexGrid& g = *lista()->ui.flxArticoli;
        for (int r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, c);
        return out;
    }
    void doppioClic(int row, const QPoint& dove = {})
    {
        FlexGrid& g = *lista()->ui.flxArticoli;
        const QPoint p = row > 0 ? g.visualRect(g.model()->index(row - 1, 0)).center() : dove;
        QWidget* area = row > 0 ? g.viewport() : g.horizontalHeader()->viewport();
        QTest::mouseClick(area, Qt::LeftButton, {}, p);
        QTest::mouseDClick(area, Qt::LeftButton, {}, p);
    }

    QString titolo;
    QString domanda;
};

TEST_F(ArticleSearch, ByTheStartOfTheAbbreviationHighestFirst)
{
    aggiungi(QStringLiteral("AB1"), QStringLiteral("C9"), QStringLiteral("Uno"));
    aggiungi(QStringLiteral("XAB"), QStringLiteral("C8"));
    const qint64 abc = aggiungi(QStringLiteral("ABC"), QStringLiteral("C7"), QStringLiteral("Tre") + QString(37, u' ') + QStringLiteral("bis"));
    aggiungi(QStringLiteral("ab2"), QStringLiteral("C6"));
    mostraPrimo();

    rispondi(QStringLiteral(" AB "));
    w->ui.cmdCercaAbb->click();
    EXPECT_EQ(titolo, QStringLiteral("Richiesta"));
    EXPECT_EQ(domanda, QStringLiteral("Codice abbreviato?"));
    ASSERT_TRUE(lista());
    EXPECT_TRUE(lista()->isVisible());
    EXPECT_EQ(lista()->windowTitle(), QStringLiteral(" Articoli trovati"));
    EXPECT_EQ(lista()->ui.flxArticoli->TextMatrix(0, 1), QStringLiteral("Cod. Interno"));
    EXPECT_EQ(colonna(0), (QStringList{"ABC", "ab2", "AB1"}));
    EXPECT_EQ(colonna(1), (QStringList{"C7", "C6", "C9"}));
    EXPECT_EQ(colonna(2).first(), QStringLiteral("Tre") + QString(37, u' ') + QStringLiteral("bis"));
    EXPECT_EQ(lista()->ui.flxArticoli->RowData(1).toLongLong(), abc);

    // The header picks nothing; a data row picks its article and closes the list.
    doppioClic(0, {5, 5});
    ASSERT_TRUE(lista());
    EXPECT_EQ(sigla(), QStringLiteral("AB1"));
    doppioClic(1);
    EXPECT_FALSE(lista());
    EXPECT_EQ(sigla(), QStringLiteral("ABC"));
    EXPECT_EQ(w->ui.txtDescrizione2->text(), QStringLiteral("bis"));
}

TEST_F(ArticleSearch, ByTheStartOfTheInternalCodeWithAQuoteAndLiteralPercentOrUnderscore)
{
    aggiungi(QStringLiteral("A"), QStringLiteral("D'1"));
    aggiungi(QStringLiteral("C"), QStringLiteral("D'2"));
    aggiungi(QStringLiteral("B"), QStringLiteral("D1"));
    aggiungi(QStringLiteral("ÈLA"), QStringLiteral("D_%"));
    mostraPrimo();
    rispondi(QStringLiteral("d'"));
    w->ui.cmdCercaInterno->click();
    EXPECT_EQ(domanda, QStringLiteral("Codice Interno?"));
    ASSERT_TRUE(lista());
    EXPECT_EQ(colonna(0), (QStringList{"C", "A"}));

    // While the list is open a search only brings it to the front.
    w->ui.cmdCercaAbb->click();
    EXPECT_EQ(Dialogs().modalCount(), 1);
    lista()->ui.flxArticoli->SetRow(2);
    lista()->ui.cmdSeleziona->click();
    EXPECT_EQ(sigla(), QStringLiteral("A"));

    // "%" and "_" stand for themselves; accented letters match without case.
    for (const char* typed : {"D_", "d_%", "èl"}) {
        ASSERT_FALSE(lista());
        rispondi(QString::fromUtf8(typed));
        (QString::fromUtf8(typed).startsWith(u'è') ? w->ui.cmdCercaAbb : w->ui.cmdCercaInterno)->click();
        ASSERT_TRUE(lista()) << typed;
        EXPECT_EQ(colonna(0), QStringList{QStringLiteral("ÈLA")}) << typed;
        lista()->ui.cmdOk->click();
    }
    ASSERT_FALSE(lista());
    rispondi(QStringLiteral("D%"));
    w->ui.cmdCercaInterno->click();
    EXPECT_FALSE(lista());
}

TEST_F(ArticleSearch, TheListButtonShowsEveryArticleWithoutAPrompt)
{
    for (const char* s : {"M", "Z", "A"}) aggiungi(QString::fromLatin1(s), QStringLiteral("1"));
    mostraPrimo();
    w->ui.cmdListaArticoli->click();
    EXPECT_EQ(Dialogs().modalCount(), 0);
    ASSERT_TRUE(lista());
    EXPECT_EQ(colonna(0), (QStringList{"Z", "M", "A"}));
    lista()->ui.cmdOk->click();
    EXPECT_FALSE(lista());
    EXPECT_EQ(sigla(), QStringLiteral("M"));
}

TEST_F(ArticleSearch, NothingFoundCancelledOrEmpty)
{
    aggiungi(QStringLiteral("A"), QStringLiteral("1"));
    rispondi(std::nullopt);
    w->ui.cmdCercaAbb->click();
    rispondi(QStringLiteral("   "));
    w->ui.cmdCercaAbb->click();
    EXPECT_TRUE(Dialogs().messages().empty());
    rispondi(QStringLiteral("Q"));
    w->ui.cmdCercaInterno->click();
    EXPECT_EQ(Dialogs().prompts(), std::vector<QString>{QStringLiteral("Nessun record corrispondente trovato!")});
    EXPECT_FALSE(lista());
}

TEST_F(ArticleSearch, APickWaitsForTheArticleBeingEdited)
{
    aggiungi(QStringLiteral("A"), QStringLiteral("1"));
    aggiungi(QStringLiteral("B"), QStringLiteral("2"));
    mostraPrimo();
    w->ui.cmdListaArticoli->click();
    w->ui.cmdModificaArticolo->click();
    scrivi(w->ui.txtDescrizione, QStringLiteral("in corso"));
    doppioClic(1);
    ASSERT_EQ(Dialogs().messages().size(), 1u);
    EXPECT_EQ(w->ui.txtDescrizione->text(), QStringLiteral("in corso"));
    EXPECT_EQ(w->Tag, QString::number(rsArticoli->Value(QStringLiteral("ID")).toLongLong()));
    EXPECT_TRUE(lista());
}
