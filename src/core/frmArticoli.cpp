#include "core/frmArticoli.h"

#include "core/MaskedEdit.h"
#include "core/Utility.h"
#include "core/ui/ControlTag.h"
#include "core/ui/KeyFilter.h"

#include <QApplication>
#include <QStyle>

frmArticoli::frmArticoli(QWidget* parent) : QMainWindow(parent)
{
    ui.setupUi(this);
    FormArticoli = this;
    labIntestazione = {ui.labIntestazione_0};
    timPassive.setInterval(500);
    ImpostaCampi();

    // Each subsystem connects its handlers here.
    ConnettiShell();
    ConnettiArticoli();
    ConnettiDDT();
    ConnettiEtichette();
    ConnettiImballi(); // carton labels
    ConnettiMultiLotto(); // mixed-lot pallet
    ConnettiRistampa(); // reprint and logo headings
    ConnettiIntestazioni();
    ConnettiPassivo(); // passive mode
}

frmArticoli::~frmArticoli()
{
    if (FormArticoli == this) FormArticoli = nullptr;
}

// Lengths are in the .ui file; masks, key filters, pictures and the initial tags are set here.
void frmArticoli::ImpostaCampi()
{
    for (QLineEdit* digits : {ui.txtEAN, ui.txtGTIN, ui.txtQtCassa, ui.txtQtPallet, ui.txtTipoPallet,
                              ui.txtDurataProdotto, ui.txtPrefGTIN})
        InstallKeyFilter(digits, DigitKey);
    InstallKeyFilter(ui.txtPesoCassa, NumericKeyFilter);
    InstallKeyFilter(ui.txtSigla, UpperCaseKey);

    for (QLineEdit* copies : {ui.mskQtCartoni, ui.mskQtBatch, ui.mskQtPallet, ui.mskQtBatchMulti, ui.mskQtRistampa,
                              ui.mskQtImballi, ui.mskQtDDT})
        SetEditMask(*copies, QStringLiteral("9999"));
    SetEditMask(*ui.mskTipoPallet, QStringLiteral("9"));
    SetEditMask(*ui.mskDataDDT, QStringLiteral("##/##/##"));

    SetTag(ui.txtSSCC, QStringLiteral("-1"));
    SetTag(ui.txtDurataProdottoS, QString());

    QStyle* style = QApplication::style();
    ui.imgSalva->setPixmap(style->standardIcon(QStyle::SP_DialogSaveButton).pixmap(24, 24));
    ui.imgNuovo->setPixmap(style->standardIcon(QStyle::SP_FileIcon).pixmap(24, 24));
    ui.IconTray->setPixmap(style->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    ui.cmdNuovoArticolo->setIcon(QIcon(ui.imgNuovo->pixmap()));
    ui.cmdScegliPNC->setIcon(style->standardIcon(QStyle::SP_DirOpenIcon));

    // Grids as designed: the title row only, column widths fitting the padded titles.
    for (FlexGrid* grid : {ui.flxLotti, ui.flxDDT}) grid->SetRows(1);
    ui.flxLotti->SetCols(4);
    SetGridHeader(*ui.flxLotti, QStringLiteral("Articolo\tLotto\tData/ora\tQt."));
    const int charWidth = ui.flxLotti->fontMetrics().horizontalAdvance(u'0');
    const int widths[] = {21, 23, 23, 8};
    for (int c = 0; c < 4; ++c) ui.flxLotti->setColumnWidth(c, widths[c] * charWidth);
    ui.flxDDT->SetCols(1);
    SetGridHeader(*ui.flxDDT, QStringLiteral("SSCC"));
}
