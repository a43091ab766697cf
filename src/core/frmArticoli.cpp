#include "core/frmArticoli.h"

#include "core/MaskedEdit.h"
#include "core/Utility.h"
#include "core/ui/ControlTag.h"
#include "core/ui/KeyFilter.h"
#include "passive/Avvisi.h"
#include "passive/frmRichiesteAccantonate.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>

namespace {

// A field is never narrower than its longest value, so a small screen squeezes the empty space
// between fields, not the data. Digits stand for the characters: the fields hold numbers, dates
// and codes.
void FitDigits(QLineEdit& field, int digits)
{
    const int frame = field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &field);
    // Qt keeps 2 pixels free on each side of the text, inside the frame.
    field.setMinimumWidth(field.fontMetrics().horizontalAdvance(QString(digits, u'0')) + 2 * (frame + 2) + 1);
}

} // namespace

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
    // The cartons of a pallet take as many digits as (37) states, and an article's stored count is
    // shown whole: no mask cuts it.
    for (QLineEdit* digits : {ui.txtEAN, ui.txtGTIN, ui.txtQtCassa, ui.txtQtPallet, ui.txtTipoPallet,
                              ui.txtDurataProdotto, ui.txtPrefGTIN, ui.mskQtCartoni})
        InstallCharacterFilter(digits, DigitKey);
    InstallCharacterFilter(ui.txtPesoCassa, NumericKeyFilter);
    InstallCharacterFilter(ui.txtSigla, UpperCaseKey);

    for (QLineEdit* copies : {ui.mskQtBatch, ui.mskQtPallet, ui.mskQtBatchMulti, ui.mskQtRistampa, ui.mskQtImballi, ui.mskQtDDT})
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

    for (QLineEdit* field : {ui.txtSigla, ui.txtCodInterno, ui.txtEAN, ui.txtGTIN, ui.txtQtCassa, ui.txtPrefGTIN,
                             ui.txtPesoCassa, ui.txtTipoPallet, ui.txtQtPallet, ui.txtDurataProdotto, ui.txtLotto,
                             ui.txtSSCC, ui.txtCercaLotto, ui.txtCercaSSCC, ui.mskQtCartoni})
        FitDigits(*field, field->maxLength());
    for (QLineEdit* date : {ui.mskDataProduzione, ui.mskDataDDT}) FitDigits(*date, 8);
    FitDigits(*ui.mskOraProd, 5);
    for (QLineEdit* copies : {ui.mskQtBatch, ui.mskQtPallet, ui.mskQtBatchMulti, ui.mskQtRistampa, ui.mskQtImballi, ui.mskQtDDT})
        FitDigits(*copies, 4);
    FitDigits(*ui.mskTipoPallet, 1);

    // Grids as designed: the title row only. The mixed-lot columns fit an EAN, a date and time and
    // the cartons; the lot takes the rest of the grid's width.
    for (FlexGrid* grid : {ui.flxLotti, ui.flxDDT}) grid->SetRows(1);
    ui.flxLotti->SetCols(4);
    SetGridHeader(*ui.flxLotti, QStringLiteral("Articolo\tLotto\tData/ora\tQt."));
    const QFontMetrics metrics = ui.flxLotti->fontMetrics();
    const int padding = 2 * metrics.horizontalAdvance(u'0');
    ui.flxLotti->setColumnWidth(0, metrics.horizontalAdvance(QString(13, u'0')) + padding);
    ui.flxLotti->setColumnWidth(2, metrics.horizontalAdvance(QStringLiteral("00/00/00 00:00")) + padding);
    ui.flxLotti->setColumnWidth(3, metrics.horizontalAdvance(QString(ui.mskQtCartoni->maxLength(), u'0')) + padding);
    ui.flxLotti->horizontalHeader()->setStretchLastSection(false);
    ui.flxLotti->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    ui.flxDDT->SetCols(1);
    SetGridHeader(*ui.flxDDT, QStringLiteral("SSCC"));
}
