// The reprint tab: the field of the pallet to reprint, the picker and the reprint button.
#include "core/frmArticoli.h"

#include "core/HandlerGuard.h"
#include "core/Formats.h"
#include "core/Globals.h"
#include "core/Utility.h"
#include "core/ui/ControlTag.h"
#include "core/ui/Dialogs.h"
#include "core/ui/KeyFilter.h"
#include "labels/PalletReservation.h"
#include "labels/PrintOutcome.h"
#include "labels/PrintTransaction.h"
#include "labels/Reprint.h"
#include "labels/Sscc.h"
#include "labels/frmScegliPNC.h"
#include "reports/StampaReport.h"

#include <QScopeGuard>

#include <algorithm>
#include <optional>

namespace {

const QString kNessuno = QStringLiteral("-1");
const QString kErrore = QStringLiteral("Errore");

} // namespace

void frmArticoli::ConnettiRistampa()
{
    connect(ui.txtSSCC, &QLineEdit::textChanged, this, Protetto([this] { txtSSCC_Change(); }));
    connect(ui.cmdScegliPNC, &QPushButton::clicked, this, Protetto([this] { cmdScegliPNC_Click(); }));
    connect(ui.cmdRistampa, &QPushButton::clicked, this, Protetto([this] { cmdRistampa_Click(); }));
    InstallKeyFilter(ui.txtSSCC, [this](int key, const QString&) {
        EseguiGestore([&] { txtSSCC_KeyPress(key); });
        return key;
    });
}

void frmArticoli::UltimoSSCC()
{
    auto rs = DB->OpenRecordset(QStringLiteral("SELECT TOP 1 * FROM AppTestate ORDER BY SSCC DESC"));
    if (!rs->IsEmpty()) {
        ui.txtSSCC->setText(NzStr(rs->Value(QStringLiteral("SSCC"))));
        SetTag(ui.txtSSCC, QString::number(rs->Value(QStringLiteral("IDAppTestate")).toLongLong()));
    }
    rs->Close();
}

void frmArticoli::txtSSCC_Change() { SetTag(ui.txtSSCC, kNessuno); }

void frmArticoli::txtSSCC_KeyPress(int& KeyAscii)
{
    if (KeyAscii != 13) return;
    KeyAscii = 0;
    if (ui.cmdRistampa->isEnabled()) cmdRistampa_Click();
}

void frmArticoli::cmdScegliPNC_Click()
{
    frmScegliPNC picker(*ui.txtSSCC, this);
    ShowModal(picker);
}

void frmArticoli::cmdRistampa_Click()
{
    if (::Tag(ui.txtSSCC) == kNessuno) {
        // A scanned SSCC is looked up, and then shown, as its 18 digits.
        const QString typed = ui.txtSSCC->text().trimmed();
        const QString scanned = ScannedSscc(typed);
        const QString sscc = scanned.isEmpty() ? typed : scanned;
        if (sscc.isEmpty()) {
            cmdScegliPNC_Click();
        } else {
            rsAppTestate->FindFirst(QStringLiteral("SSCC = '") + SqlQuote(sscc) + QStringLiteral("'"));
            if (!rsAppTestate->NoMatch()) {
                if (!scanned.isEmpty()) ui.txtSSCC->setText(scanned);
                SetTag(ui.txtSSCC, QString::number(rsAppTestate->Value(QStringLiteral("IDAppTestate")).toLongLong()));
            } else {
                CommitAndRefresh(*rsAppTestate);
                if (rsAppTestate->IsEmpty()) {
                    MsgBox(QStringLiteral("L'archivio è vuoto."), vbCritical, kErrore);
                    return;
                }
                cmdScegliPNC_Click();
            }
        }
        if (::Tag(ui.txtSSCC) == kNessuno) return;
    }
    if (NumericValue(ui.mskQtRistampa->text()) < 1) {
        MsgBox(QStringLiteral("La quantità non può essere nulla."), vbCritical, kErrore);
        return;
    }
    ui.cmdRistampa->setEnabled(false);
    const auto enable = qScopeGuard([this] { ui.cmdRistampa->setEnabled(true); });
    RistampaEtichetta(::Tag(ui.txtSSCC).toLongLong(), int(qRound64(NumericValue(ui.mskQtRistampa->text()))),
                      ui.chkAnteprimaRistampa->isChecked() && ModoInterattivo);
}

// In passive mode nobody could close a preview window: the caller passes preview off then.
void frmArticoli::RistampaEtichetta(qint64 idAppTestate, int copies, bool preview)
{
    std::optional<WaitCursor> hourglass;
    if (ModoInterattivo) hourglass.emplace();
    const std::optional<ArchivedPallet> pallet = ReadArchivedPallet(*DB, *rsAppTestate, idAppTestate);
    if (!pallet) {
        MsgBox(QStringLiteral("SSCC non trovato"), vbCritical, kErrore);
        return;
    }
    const PalletRecord& record = pallet->record;
    if (record.lines.empty()) {
        MsgBox(QStringLiteral("Il pallet ") + record.sscc + QStringLiteral(" non ha righe in archivio: impossibile ristamparlo."),
               vbCritical, kErrore);
        return;
    }
    const PalletMix mix = MixOf(record.lines);
    if (const QString why = ReprintRefusal(*rsSetup, record, mix); !why.isEmpty()) {
        MsgBox(why, vbCritical, kErrore);
        return;
    }
    EtichettaMulti = mix != PalletMix::Homogeneous;
    ArticoloUnico = mix != PalletMix::SeveralArticles;
    ReportJob label = PalletLabelJob(preview, copies);
    ReportJob lists = ArticleListJob(std::max(1, copies));
    ChoosePrinter(label);
    ChoosePrinter(lists);
    PrintTakingRequest(*DB, richiestaInStampa_, {record.sscc, idAppTestate, std::max(1, copies)}, [&] {
        WriteReprintRow(*DB, *rsSetup, record, mix);
        SendSteps steps = JobSteps(BindReport(label), MyReport);
        // The article lists print even after a previewed summary.
        if (mix != PalletMix::Homogeneous) {
            FillArticleList(record.sscc, ArticleLinesOf(record));
            for (auto& step : JobSteps(BindReport(lists), MyReport)) steps.push_back(std::move(step));
        }
        return steps;
    });
    if (richiestaInStampa_) richiestaConsumata_ = true;
}

// Jobs a stop may have kept from the printer. A pallet's: when its pallet is archived its labels are
// sent again (a second identical label of the pallet is harmless); when not, its reservation never
// committed and nothing was printed. A carton run's: sent again. A pallet whose preview was open:
// nothing came out, so what it took is given back. The operator learns which.
void frmArticoli::RiprendiStampe()
{
    QStringList resent;
    QStringList givenBack;
    for (const auto& pending : StampeInCorso().Orphans()) {
        const JournalEntry& e = pending->entry();
        try {
            if (e.kind == JournalEntry::Kind::Cartons) {
                InviaEtichetteImballi(e.carton, e.copies, false);
                resent << LavoroRipreso(e);
            } else if (rsAppTestate->FindFirst(QStringLiteral("IDAppTestate = ") + QString::number(e.idAppTestate)); !rsAppTestate->NoMatch()
                       && NzStr(rsAppTestate->Value(QStringLiteral("SSCC"))) == e.sscc) {
                if (e.kind == JournalEntry::Kind::Preview) {
                    UndoReservation({*DB, *rsSetup, *rsExportTestate, *rsExportRighe, *rsAppTestate, *rsAppRighe},
                                    PreviewReservation(e));
                    givenBack << e.sscc;
                } else {
                    RistampaEtichetta(e.idAppTestate, e.copies, false);
                    resent << LavoroRipreso(e);
                }
            }
        } catch (const AppError& error) {
            // Without an operator the entry waits for the next start.
            if (!ModoInterattivo) continue;
            MsgBox(StampaNonRipresa(e, error.description()), vbCritical | vbOKOnly, kErrore);
        }
        pending->Done();
    }
    // In passive mode the messages go beside the tray icon.
    if (!resent.isEmpty()) MsgBox(EtichetteRiprese(resent), vbInformation | vbOKOnly, QStringLiteral("Attenzione"));
    if (!givenBack.isEmpty()) MsgBox(AnteprimeRestituite(givenBack), vbInformation | vbOKOnly, QStringLiteral("Attenzione"));
}
