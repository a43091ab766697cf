#include "passive/frmRichiesteAccantonate.h"

#include "core/HandlerGuard.h"
#include "core/db/Database.h"
#include "core/ui/Dialogs.h"
#include "passive/Avvisi.h"
#include "passive/RequestImport.h"
#include "passive/SetAsideRequests.h"

#include <QFile>
#include <QHeaderView>

frmRichiesteAccantonate::frmRichiesteAccantonate(Database& db, SetAsideRequests& accantonate, Avvisi& avvisi, QWidget* parent)
    : QDialog(parent), db_(db), accantonate_(accantonate), avvisi_(avvisi)
{
    ui.setupUi(this);
    setWindowFlag(Qt::Window);
    FlexGrid& grid = *ui.flxRichieste;
    grid.SetCols(3);
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.verticalHeader()->setVisible(false);
    grid.horizontalHeader()->setStretchLastSection(true);
    const int charWidth = grid.fontMetrics().horizontalAdvance(u'0');
    grid.setColumnWidth(0, 20 * charWidth);
    grid.setColumnWidth(1, 10 * charWidth);

    connect(ui.cmdElimina, &QPushButton::clicked, this, Protetto([this] { cmdElimina_Click(); }));
    connect(ui.cmdRiprova, &QPushButton::clicked, this, Protetto([this] { cmdRiprova_Click(); }));
    connect(ui.cmdChiudi, &QPushButton::clicked, this, Protetto([this] { cmdChiudi_Click(); }));
    accantonate_.onChange([this] { Form_Load(); });
    Form_Load();
}

frmRichiesteAccantonate::~frmRichiesteAccantonate() { accantonate_.onChange({}); }

void frmRichiesteAccantonate::Form_Load()
{
    FlexGrid& grid = *ui.flxRichieste;
    grid.SetRows(1);
    SetGridHeader(grid, QStringLiteral("Tabella\tID\tMotivo"));
    const auto& entries = accantonate_.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const SetAsideRequest& e = entries[i];
        QString motivo = e.reason;
        // A refused file is shown by where it lies in the request folder.
        const QString dove = e.file.isEmpty() ? e.key.table + u'\t' + QString::number(e.key.id)
                                              : kCartellaScartati + u'/' + NomeMostrato(e.file) + u'\t';
        grid.AddItem(dove + u'\t' + motivo.replace(u'\n', QStringLiteral(" ")));
        grid.SetRowData(grid.Rows() - 1, qint64(i));
    }
    grid.resizeRowsToContents();
}

int frmRichiesteAccantonate::Corrente() const
{
    const int row = ui.flxRichieste->Row();
    return row < 1 ? -1 : ui.flxRichieste->RowData(row).toInt();
}

void frmRichiesteAccantonate::cmdElimina_Click()
{
    const int i = Corrente();
    if (i < 0) return;
    // A refused file leaves the list only: it stays among the refused files.
    if (const QByteArray file = accantonate_.entries()[size_t(i)].file; !file.isEmpty()) return accantonate_.removeFile(file);
    const RequestKey key = accantonate_.entries()[size_t(i)].key;
    // Someone is here to answer.
    const Avvisi::PersonaPresente presente(avvisi_);
    if (MsgBox(QStringLiteral("Confermi l'eliminazione della richiesta %1 %2?").arg(key.table).arg(key.id), vbYesNo | vbQuestion,
               QStringLiteral("Richiesta"))
        != vbYes)
        return;
    db_.BeginTrans();
    try {
        TakeRequest(db_, key);
        db_.CommitTrans();
    } catch (const AppError& e) {
        db_.Rollback();
        // Gone already: another program printed or dropped it.
        if (e.number() != kRichiestaGiaPresa) return MostraErrore(e);
    }
    accantonate_.remove(key);
}

void frmRichiesteAccantonate::cmdRiprova_Click()
{
    const int i = Corrente();
    if (i < 0) return;
    const SetAsideRequest e = accantonate_.entries()[size_t(i)];
    if (e.file.isEmpty()) return accantonate_.remove(e.key);
    // The file goes back to the request folder, corrected or not, and is read again.
    const QByteArray& file = e.file;
    if (!RimettiInCartella(file)) {
        const Avvisi::PersonaPresente presente(avvisi_);
        MsgBox(QStringLiteral("Il file %1 non si può rimettere nella cartella delle richieste.").arg(QFile::decodeName(file)), vbCritical,
               QStringLiteral("Errore"));
        return;
    }
    accantonate_.removeFile(file);
}

void frmRichiesteAccantonate::cmdChiudi_Click() { close(); }
