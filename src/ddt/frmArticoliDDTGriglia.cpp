// The pallets of the open delivery note: moving and removing rows of flxDDT.
#include "core/frmArticoli.h"

void frmArticoli::TitoliDDT() { SetGridHeader(*ui.flxDDT, QStringLiteral("SSCC")); }

void frmArticoli::PulisciDDT()
{
    ui.flxDDT->SetRows(1);
    ui.flxDDT->Clear();
    TitoliDDT();
}

void frmArticoli::RimuoviRigaDDT(int row)
{
    if (ui.flxDDT->Rows() == 2) PulisciDDT();
    else ui.flxDDT->RemoveItem(row);
}

// The row keeps the selection as it moves.
void frmArticoli::SpostaSSCC(int from, int to)
{
    const QString sscc = ui.flxDDT->TextMatrix(from, 0);
    ui.flxDDT->RemoveItem(from);
    ui.flxDDT->AddItem(sscc, to);
    ui.flxDDT->SetRow(to);
    ui.cmdSalvaDDT->setEnabled(true);
}

// Row() is 0 when no data row is selected.
void frmArticoli::cmdUpSSCC_Click()
{
    const int row = ui.flxDDT->Row();
    if (row > 1) SpostaSSCC(row, row - 1);
}

void frmArticoli::cmdDownSSCC_Click()
{
    const int row = ui.flxDDT->Row();
    if (row >= 1 && row < ui.flxDDT->Rows() - 1) SpostaSSCC(row, row + 1);
}

void frmArticoli::cmdEliminaSSCC_Click()
{
    const int row = ui.flxDDT->Row();
    if (row < 1) return;
    RimuoviRigaDDT(row);
    ui.cmdSalvaDDT->setEnabled(true);
}
