#include "labels/frmScegliPNC.h"

#include "core/HandlerGuard.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/ui/ControlTag.h"

#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScrollBar>

frmScegliPNC::frmScegliPNC(QLineEdit& ssccField, QWidget* parent) : QDialog(parent), ssccField_(ssccField)
{
    ui.setupUi(this);
    ui.flxArticoli->SetCols(5);
    const int charWidth = ui.flxArticoli->fontMetrics().horizontalAdvance(u'0');
    const int widths[] = {31, 15, 14, 13, 47};
    for (int c = 0; c < 5; ++c) ui.flxArticoli->setColumnWidth(c, widths[c] * charWidth);

    connect(ui.cmdSeleziona, &QPushButton::clicked, this, [this] { cmdSeleziona_Click(); });
    connect(ui.cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(ui.flxArticoli, &QTableWidget::cellDoubleClicked, this, [this] { flxArticoli_DblClick(); });
    QScrollBar* bar = ui.flxArticoli->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, Protetto([this] { CaricaSeInFondo(); }));
    connect(bar, &QScrollBar::rangeChanged, this, Protetto([this] { CaricaSeInFondo(); }));
    Form_Load();
}

void frmScegliPNC::TitoliGriglia()
{
    SetGridHeader(*ui.flxArticoli, QStringLiteral("SSCC\tN° cartoni\tPezzi\tPeso lordo\tDescrizione"));
}

void frmScegliPNC::ClearReg()
{
    ui.flxArticoli->SetRows(1);
    ui.flxArticoli->Clear();
    TitoliGriglia();
}

void frmScegliPNC::Form_Load()
{
    ClearReg();
    last_.reset();
    CommitAndRefresh(*rsAppTestate);
    finished_ = rsAppTestate->IsEmpty();
    CaricaPagina();
}

bool frmScegliPNC::CaricaPagina()
{
    // Adding rows may move the scroll bar, which asks for the next page while this one is added.
    if (finished_ || loading_) return false;
    const QScopedValueRollback<bool> loading(loading_, true);
    const std::vector<ArchiveListRow> rows = ArchiveListPage(*DB, last_, kPagina);
    FlexGrid& grid = *ui.flxArticoli;
    for (const ArchiveListRow& r : rows) {
        grid.AddItem(QStringList{r.sscc, r.qtCartoni, r.numPezzi, r.pesoLordo, r.descrizione}.join(u'\t'));
        grid.SetRowData(grid.Rows() - 1, r.idAppTestate);
    }
    if (!rows.empty()) last_ = ArchiveListCursor{rows.back().sscc, rows.back().idAppTestate};
    finished_ = int(rows.size()) < kPagina;
    return !rows.empty();
}

// Near the end of what is listed (or when the list does not fill the view) the next page follows.
void frmScegliPNC::CaricaSeInFondo()
{
    const QScrollBar* bar = ui.flxArticoli->verticalScrollBar();
    if (bar->value() >= bar->maximum() - bar->pageStep()) CaricaPagina();
}

void frmScegliPNC::cmdSeleziona_Click()
{
    const int row = ui.flxArticoli->Row();
    if (row < 1) return;
    ssccField_.setText(ui.flxArticoli->TextMatrix(row, 0));
    SetTag(&ssccField_, ui.flxArticoli->RowData(row).toString());
    accept();
}

void frmScegliPNC::flxArticoli_DblClick() { cmdSeleziona_Click(); }

void frmScegliPNC::cmdOk_Click() { reject(); }
