#include "articles/frmListaPNC.h"

#include "core/HandlerGuard.h"
#include "core/Globals.h"
#include "core/frmArticoli.h"
#include "core/ui/Dialogs.h"

frmListaPNC::frmListaPNC(QWidget* parent) : QWidget(parent, Qt::Window)
{
    ui.setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(ui.cmdSeleziona, &QPushButton::clicked, this, Protetto([this] { cmdSeleziona_Click(); }));
    connect(ui.cmdOk, &QPushButton::clicked, this, Protetto([this] { cmdOk_Click(); }));
    connect(ui.flxArticoli, &QTableWidget::cellDoubleClicked, this, Protetto([this] { flxArticoli_DblClick(); }));
}

void frmListaPNC::TitoliGriglia()
{
    ui.flxArticoli->SetCols(3);
    SetGridHeader(*ui.flxArticoli, QStringLiteral("Abbreviato\tCod. Interno\tDescrizione"));
}

void frmListaPNC::ClearReg()
{
    ui.flxArticoli->SetRows(1);
    ui.flxArticoli->Clear();
    TitoliGriglia();
}

// The main window stays usable beside the list: a pick must not replace an article being edited.
void frmListaPNC::cmdSeleziona_Click()
{
    const int row = ui.flxArticoli->Row();
    if (row < 1) return;
    if (FormArticoli->ui.cmdNuovoArticolo->text() == QLatin1String("&Memorizza")) {
        MsgBox(QStringLiteral("Memorizzare o annullare l'articolo in modifica."), vbExclamation, QStringLiteral("Attenzione"));
        return;
    }
    rsArticoli->FindFirst(QStringLiteral("ID = ") + ui.flxArticoli->RowData(row).toString());
    if (rsArticoli->NoMatch())
        MsgBox(QStringLiteral("Nessun record corrispondente trovato!"), vbCritical, QStringLiteral("Errore"));
    else
        FormArticoli->CaricaArticolo();
    close();
}

void frmListaPNC::flxArticoli_DblClick() { cmdSeleziona_Click(); }

void frmListaPNC::cmdOk_Click() { close(); }
