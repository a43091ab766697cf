// Finding articles by the start of their abbreviation or internal code, or listing them all.
#include "articles/frmListaPNC.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/frmArticoli.h"
#include "core/frmIntestazioni.h"
#include "core/ui/Dialogs.h"

#include <memory>

void frmArticoli::CercaArticoli(const QString& prompt, const QString& queryPrefix)
{
    if (ActivateForm(frmListaPNC::Caption)) return;

    QString sql = QStringLiteral("SELECT * FROM ARTICOLI ORDER BY SIGLA DESC");
    if (!prompt.isEmpty()) {
        {
            frmIntestazioni richiesta(this);
            richiesta.setWindowTitle(QStringLiteral("Richiesta"));
            richiesta.ui.txtRichiesta->setText(prompt);
            RichiestaOK = false;
            ShowModal(richiesta);
        }
        if (!RichiestaOK) return;
        const QString testo = TestoRichiesta.trimmed();
        if (testo.isEmpty()) return;
        sql = queryPrefix + SqlQuote(testo) + QStringLiteral("*' ORDER BY SIGLA DESC");
    }

    auto trovati = DB->OpenRecordset(sql);
    if (trovati->IsEmpty()) {
        trovati->Close();
        MsgBox(QStringLiteral("Nessun record corrispondente trovato!"), vbCritical, QStringLiteral("Errore"));
        return;
    }

    auto lista = std::make_unique<frmListaPNC>(this);
    lista->ClearReg();
    FlexGrid& griglia = *lista->ui.flxArticoli;
    // Cells are set one by one: a tab inside a description must not shift the columns.
    for (; !trovati->Eof(); trovati->MoveNext()) {
        const int riga = griglia.Rows();
        griglia.SetRows(riga + 1);
        griglia.SetTextMatrix(riga, 0, NzStr(trovati->Value(QStringLiteral("Sigla"))));
        griglia.SetTextMatrix(riga, 1, NzStr(trovati->Value(QStringLiteral("CodInterno"))));
        griglia.SetTextMatrix(riga, 2, NzStr(trovati->Value(QStringLiteral("Descrizione"))));
        griglia.SetRowData(riga, trovati->Value(QStringLiteral("ID")));
    }
    trovati->Close();
    lista.release()->show();
}

void frmArticoli::cmdCercaAbb_Click()
{
    CercaArticoli(QStringLiteral("Codice abbreviato?"), QStringLiteral("SELECT * FROM ARTICOLI WHERE SIGLA LIKE '"));
}

void frmArticoli::cmdCercaInterno_Click()
{
    CercaArticoli(QStringLiteral("Codice Interno?"), QStringLiteral("SELECT * FROM ARTICOLI WHERE CodInterno LIKE '"));
}

void frmArticoli::cmdListaArticoli_Click() { CercaArticoli(QString(), QString()); }
