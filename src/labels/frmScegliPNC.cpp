#include "labels/frmScegliPNC.h"

#include "core/Globals.h"
#include "core/HandlerGuard.h"
#include "core/Utility.h"
#include "core/ui/ControlTag.h"

#include <QHeaderView>
#include <QLineEdit>

frmScegliPNC::frmScegliPNC(QLineEdit& ssccField, QWidget* parent) : QDialog(parent), ssccField_(ssccField)
{
    ui.setupUi(this);
    QTableView& view = *ui.flxArticoli;
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.verticalHeader()->setVisible(false);
    // Rows of one height: the view places any row without asking the rows above it.
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view.horizontalHeader()->setSectionsClickable(false);
    view.horizontalHeader()->setStretchLastSection(true);

    connect(ui.cmdSeleziona, &QPushButton::clicked, this, Protetto([this] { cmdSeleziona_Click(); }));
    connect(ui.cmdOk, &QPushButton::clicked, this, Protetto([this] { cmdOk_Click(); }));
    connect(ui.flxArticoli, &QTableView::doubleClicked, this, Protetto([this] { flxArticoli_DblClick(); }));
    Form_Load();
}

void frmScegliPNC::Form_Load()
{
    CommitAndRefresh(*rsAppTestate);
    auto model = std::make_unique<ArchiveListModel>(*DB);
    ui.flxArticoli->setModel(model.get());
    model_ = std::move(model);
    const int charWidth = ui.flxArticoli->fontMetrics().horizontalAdvance(u'0');
    const int widths[] = {31, 15, 14, 13, 47};
    for (int c = 0; c < 5; ++c) ui.flxArticoli->setColumnWidth(c, widths[c] * charWidth);
}

void frmScegliPNC::cmdSeleziona_Click()
{
    const QModelIndex current = ui.flxArticoli->currentIndex();
    if (!current.isValid()) return;
    const ArchiveListRow row = model_->Row(current.row());
    if (row.idAppTestate < 0) return;
    ssccField_.setText(row.sscc);
    SetTag(&ssccField_, QString::number(row.idAppTestate));
    accept();
}

void frmScegliPNC::flxArticoli_DblClick() { cmdSeleziona_Click(); }

void frmScegliPNC::cmdOk_Click() { reject(); }
