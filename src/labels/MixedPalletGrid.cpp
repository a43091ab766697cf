// The lot grid of the mixed pallet: the mode switch, its rows, their order and removal.
#include "core/frmArticoli.h"

#include "core/HandlerGuard.h"
#include "core/ui/FocusEvents.h"

void frmArticoli::ConnettiMultiLotto()
{
    connect(ui.chkMultiLotto, &QCheckBox::clicked, this, Protetto([this] { chkMultiLotto_Click(); }));
    connect(ui.cmdUp, &QPushButton::clicked, this, Protetto([this] { cmdUp_Click(); }));
    connect(ui.cmdDown, &QPushButton::clicked, this, Protetto([this] { cmdDown_Click(); }));
    connect(ui.cmdRemove, &QPushButton::clicked, this, Protetto([this] { cmdRemove_Click(); }));
    connect(ui.cmdStampaMulti, &QPushButton::clicked, this, Protetto([this] { cmdStampaMulti_Click(); }));
    OnGotFocus(ui.mskQtPallet, Protetto([this] { mskQtPallet_GotFocus(); }));
}

void frmArticoli::chkMultiLotto_Click()
{
    const bool multi = ui.chkMultiLotto->isChecked();
    ui.cmdStampa->setText(multi ? QStringLiteral("&Aggiungi") : QStringLiteral("&Stampa"));
    ui.chkAnteprima->setEnabled(!multi);
}

void frmArticoli::PulisciLotti()
{
    ui.flxLotti->SetRows(1);
    ui.flxLotti->Clear();
    TitoliLotti();
}

void frmArticoli::TitoliLotti() { SetGridHeader(*ui.flxLotti, QStringLiteral("Articolo\tLotto\tData/ora\tQt.")); }

void frmArticoli::cmdUp_Click()
{
    const int r = ui.flxLotti->Row();
    if (ui.flxLotti->Rows() > 1 && r > 1) SpostaLotto(r, r - 1);
}

void frmArticoli::cmdDown_Click()
{
    const int r = ui.flxLotti->Row();
    if (ui.flxLotti->Rows() > 1 && r >= 1 && r < ui.flxLotti->Rows() - 1) SpostaLotto(r, r + 1);
}

// The row keeps its article (row data) wherever it goes.
void frmArticoli::SpostaLotto(int from, int to)
{
    FlexGrid& grid = *ui.flxLotti;
    QStringList cells;
    for (int c = 0; c < grid.Cols(); ++c) cells << grid.TextMatrix(from, c);
    const QVariant key = grid.RowData(from);
    grid.RemoveItem(from);
    grid.AddItem(cells.join(u'\t'), to);
    grid.SetRowData(to, key);
    grid.SetRow(to);
}

void frmArticoli::cmdRemove_Click()
{
    const int r = ui.flxLotti->Row();
    if (ui.flxLotti->Rows() < 2 || r < 1) return;
    if (ui.flxLotti->Rows() == 2)
        PulisciLotti();
    else
        ui.flxLotti->RemoveItem(r);
}

void frmArticoli::mskQtPallet_GotFocus() { ui.mskQtPallet->setSelection(0, int(ui.mskQtPallet->text().size())); }
