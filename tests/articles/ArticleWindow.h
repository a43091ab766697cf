#pragma once
// The main window on a fresh database, with the article panel loaded in browse mode as at start-up.

#include "core/Globals.h"
#include "core/Startup.h"
#include "core/Utility.h"
#include "core/frmArticoli.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <QTest>

#include <memory>

class ArticleWindow : public testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = folder.path();
        ModoInterattivo = true;
        ASSERT_TRUE(ApriDatabase());
        w = std::make_unique<frmArticoli>();
        w->CaricaArticolo();
        w->Pulsanti(2);
    }
    void TearDown() override
    {
        w.reset();
        CloseDatabase();
    }

    // A complete article, stored directly; the panel shows the first article afterwards.
    static qint64 aggiungi(const QString& sigla, const QString& codInterno, const QString& descrizione = QStringLiteral("Articolo"))
    {
        DB->ExecuteNative(QStringLiteral("INSERT INTO Articoli (Sigla, CodInterno, Descrizione, EANArticolo, QtCartone, EANCartone, "
                                         "PesoCartone, TipoPallet, NumCartoni, DurataProdotto, UnitaDurata, PrefGTIN) "
                                         "VALUES (?, ?, ?, '0000000000000', 6, '8001234567897', 12.5, '1', 80, 18, 3, '1')"),
                          {sigla, codInterno, descrizione});
        return DB->OpenRecordset(QStringLiteral("SELECT * FROM Articoli ORDER BY ID DESC"))->Value(QStringLiteral("ID")).toLongLong();
    }
    void mostraPrimo()
    {
        rsArticoli->MoveFirst();
        w->CaricaArticolo();
    }
    static void scrivi(QLineEdit* campo, const QString& testo)
    {
        campo->selectAll();
        QTest::keyClick(campo, Qt::Key_Backspace);
        QTest::keyClicks(campo, testo);
    }
    static qint64 conta()
    {
        return DB->OpenRecordset(QStringLiteral("SELECT COUNT(*) AS n FROM Articoli"))->Value(QStringLiteral("n")).toLongLong();
    }
    QString sigla() const { return w->ui.txtSigla->text(); }

    TestDataFolder folder;
    std::unique_ptr<frmArticoli> w;
};
