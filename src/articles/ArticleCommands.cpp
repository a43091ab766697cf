// The article commands: browse, new, copy, modify, save with its checks, delete and cancel.
#include "articles/ArticleCheck.h"
#include "articles/ArticlePanel.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/frmArticoli.h"
#include "core/ui/Dialogs.h"
#include "core/ui/TypingLimit.h"

namespace {

const QString kErrore = QStringLiteral("Errore");

bool nessunArticolo()
{
    if (!rsArticoli->IsEmpty()) return false;
    MsgBox(QStringLiteral("Nessun record corrente!"), vbCritical, kErrore);
    return true;
}

} // namespace

void frmArticoli::cmdAvanti_Click()
{
    if (rsArticoli->Eof()) return;
    rsArticoli->MoveNext();
    if (rsArticoli->Eof() && !rsArticoli->IsEmpty()) rsArticoli->MoveLast();
    else CaricaArticolo();
}

void frmArticoli::cmdIndietro_Click()
{
    if (rsArticoli->IsEmpty()) return;
    rsArticoli->MovePrevious();
    if (rsArticoli->Bof()) rsArticoli->MoveFirst();
    else CaricaArticolo();
}

void frmArticoli::cmdNuovoArticolo_Click()
{
    if (ui.cmdNuovoArticolo->text() == QLatin1String("&Nuovo")) {
        Stato = ArticoloInserito;
        Tag = QStringLiteral("-1");
        ArticoloNuovo();
        Pulsanti(1);
        return;
    }
    // A shortcut saves without the focus leaving the EAN fields: complete them as leaving does.
    txtEAN_LostFocus();
    txtGTIN_LostFocus();
    if (!ControllaArticolo(Stato)) return;
    // A failed write stays pending and the panel stays in edit mode, so the operator can correct
    // and save again, or cancel.
    try {
        if (Stato == ArticoloModificato) rsArticoli->Edit();
        else rsArticoli->AddNew();
        ScriviArticolo(*rsArticoli, LeggiPannello(ui));
        rsArticoli->Update();
        rsArticoli->SetBookmark(rsArticoli->LastModified());
    } catch (const AppError&) {
        ShowDBErrors(*DB);
        MsgBox(QStringLiteral("Salvataggio fallito!"), vbCritical, kErrore);
        return;
    }
    Pulsanti(2);
    // The print tab's cartons follow the saved article, as they follow a loaded one.
    ShowWhole(ui.mskQtCartoni, LeggiArticolo(*rsArticoli).qtPallet);
}

void frmArticoli::cmdCopiaArticolo_Click()
{
    if (nessunArticolo()) return;
    Pulsanti(1);
    Stato = ArticoloCopiato;
    Tag = QStringLiteral("-1");
}

void frmArticoli::cmdModificaArticolo_Click()
{
    if (nessunArticolo()) return;
    Pulsanti(1);
    Stato = ArticoloModificato;
    Tag = rsArticoli->Value(QStringLiteral("ID")).toString();
}

void frmArticoli::cmdEliminaArticolo_Click()
{
    if (nessunArticolo()) return;
    if (MsgBox(QStringLiteral("Eliminare l'articolo?"), vbYesNo | vbQuestion, QStringLiteral("Richiesta")) != vbYes) return;
    rsArticoli->Delete();
    try {
        rsArticoli->MoveNext();
    } catch (const AppError&) {
    }
    CaricaArticolo();
}

// A save that failed leaves its write pending: drop it, or the fields would show it again.
void frmArticoli::cmdAnnulla_Click()
{
    if (rsArticoli->EditMode() != dbEditNone) rsArticoli->CancelUpdate();
    Pulsanti(2);
    CaricaArticolo();
}

bool frmArticoli::ControllaArticolo(int modo)
{
    EvidenziaCampo(0);
    const auto fallito = ControllaCampiArticolo(LeggiPannello(ui), [&](const QString& sigla) {
        return SiglaDuplicata(*DB, sigla, modo, Tag);
    });
    if (!fallito) return true;
    MsgBox(fallito->messaggio, vbCritical, kErrore);
    EvidenziaCampo(fallito->gruppo);
    return false;
}
