// The main window's shell: load, unload with the operator settings, and the menu commands.
#include "core/frmArticoli.h"

#include "core/Clock.h"
#include "core/Formats.h"
#include "core/HandlerGuard.h"
#include "core/MaskedEdit.h"
#include "core/Globals.h"
#include "core/Startup.h"
#include "core/Utility.h"
#include "core/frmImpostazioni.h"
#include "core/Informazioni.h"
#include "core/ui/BackgroundWork.h"
#include "core/ui/Dialogs.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QPointer>

namespace {

// Operator settings: the Setup columns the window keeps in its controls between runs.
struct CheckSetting {
    const char* column;
    QCheckBox* Ui::frmArticoli::*box;
};
struct NumberSetting {
    const char* column;
    QLineEdit* Ui::frmArticoli::*field;
};

const CheckSetting kChecks[] = {
    {"AutoUpdateSSCC", &Ui::frmArticoli::chkUpdateSSCC},
    {"AutoTime", &Ui::frmArticoli::chkAutoUpdate},
    {"PrintPreview", &Ui::frmArticoli::chkAnteprima},
    {"ReprintPreview", &Ui::frmArticoli::chkAnteprimaRistampa},
    {"AutoLotto", &Ui::frmArticoli::chkAutoLotto},
    {"multilotto", &Ui::frmArticoli::chkMultiLotto},
    {"ImballiPreview", &Ui::frmArticoli::chkAnteprimaImballi},
    {"DDTPreview", &Ui::frmArticoli::chkAnteprimaDDT},
};

const NumberSetting kNumbers[] = {
    {"QtPrint", &Ui::frmArticoli::mskQtBatch},
    {"QtReprint", &Ui::frmArticoli::mskQtRistampa},
    {"PalletDefaultMulti", &Ui::frmArticoli::mskTipoPallet},
    {"QtMulti", &Ui::frmArticoli::mskQtBatchMulti},
    {"QtDDT", &Ui::frmArticoli::mskQtDDT},
};

QString column(const char* name) { return QString::fromLatin1(name); }

} // namespace

void frmArticoli::ConnettiShell()
{
    connect(ui.mnuUscita, &QAction::triggered, this, Protetto([this] { mnuUscita_Click(); }));
    connect(ui.mnuImpostazioni, &QAction::triggered, this, Protetto([this] { mnuImpostazioni_Click(); }));
    connect(ui.mnuCartellaLogo, &QAction::triggered, this, Protetto([this] { mnuCartellaLogo_Click(); }));
    connect(ui.mnuManuale, &QAction::triggered, this, Protetto([this] { mnuManuale_Click(); }));
    connect(ui.mnuInformazioni, &QAction::triggered, this, Protetto([this] { mnuInformazioni_Click(); }));
}

void frmArticoli::Form_Load()
{
    const QString defaultName = Printers().defaultPrinterName();
    DefaultPrinter = PrinterInfo{};
    for (const PrinterInfo& p : Printers().printers())
        if (p.deviceName == defaultName) DefaultPrinter = p;

    const QDateTime now = Now();
    SetEditMask(*ui.mskDataProduzione, MascheraData);
    ui.mskDataProduzione->setText(FormatDate(now, FormatoData));
    SetEditMask(*ui.mskOraProd, MascheraOra);
    ui.mskOraProd->setText(FormatDate(now, FormatoOra));

    CaricaImpostazioniOperatore();
    ui.labDataOraProduzione->setText(QStringLiteral("Data e ora produzione:"));
    chkAutoUpdate_Click();
    chkAutoLotto_Click();
    chkMultiLotto_Click();
    PulisciLotti();
    UltimoSSCC();
    Stato = 1;
    Pulsanti(2);
    if (!rsArticoli->IsEmpty()) CaricaArticolo();
    CaricaIntestazioni(PathJoin(CartellaDati, QStringLiteral("Intestazioni")));

    if (ModoInterattivo) show();
    // Passive mode: hidden behind the tray icon, the request timer running.
    if (!ModoInterattivo) ModoPassivo();
    // Once the icon is there: in passive mode the pallets sent again are told beside it.
    RiprendiStampe();
}

// A Setup row that cannot be read ends the start (the error reaches Main).
void frmArticoli::CaricaImpostazioniOperatore()
{
    ui.txtLotto->setText(NzStr(rsSetup->Value(QStringLiteral("lotto"))));
    ui.txtContatoreSSCC->setText(GeneralNumber(rsSetup->Value(QStringLiteral("contatore")).toDouble()));
    for (const CheckSetting& s : kChecks) (ui.*s.box)->setChecked(rsSetup->Value(column(s.column)).toBool());
    ui.mskQtPallet->setText(QStringLiteral("1"));
    ui.mskQtImballi->setText(QStringLiteral("1"));
    ui.mskQtCartoni->setText(QStringLiteral("1"));
    for (const NumberSetting& s : kNumbers) (ui.*s.field)->setText(GeneralNumber(rsSetup->Value(column(s.column)).toDouble()));
}

// A database error while saving is shown, and the program still closes: the operator settings
// are not worth keeping the program open for.
void frmArticoli::SalvaImpostazioniOperatore()
{
    try {
        rsSetup->Edit();
        rsSetup->SetValue(QStringLiteral("lotto"), ui.txtLotto->text());
        for (const CheckSetting& s : kChecks) rsSetup->SetValue(column(s.column), (ui.*s.box)->isChecked());
        for (const NumberSetting& s : kNumbers) rsSetup->SetValue(column(s.column), NumericValue((ui.*s.field)->text()));
        rsSetup->Update();
    } catch (const AppError& e) {
        if (rsSetup->EditMode() != dbEditNone) rsSetup->CancelUpdate();
        if (DB->Errors().empty()) MostraErrore(e);
        else ShowDBErrors(*DB);
    }
}

void frmArticoli::Form_Unload(int& Cancel)
{
    // Pallets printed since the last save are only in the open delivery note's grid.
    const bool unsaved = !ui.txtNumDDT->text().isEmpty() && ui.cmdSalvaDDT->isEnabled() && ui.flxDDT->Rows() > 1;
    const QString question = unsaved ? QStringLiteral("Il DDT aperto ha righe non salvate: uscire senza salvarle?")
                                     : QStringLiteral("Vuoi uscire dal programma?");
    if (ModoInterattivo && MsgBox(question, vbYesNo | vbQuestion) == vbNo) {
        Cancel = 1;
        return;
    }
    if (rsSetup) SalvaImpostazioniOperatore();
    CloseDatabase();
}

void frmArticoli::closeEvent(QCloseEvent* event)
{
    if (unloaded_) return event->accept();
    // The work under way holds the database: the window closes once it has ended, and its lock
    // waits give up so that it ends soon.
    if (WaitingWhileWindowsPaint()) {
        if (DopoIlGestore([window = QPointer<frmArticoli>(this)] {
                if (window) window->close();
            }))
            GiveUpWaiting();
        return event->ignore();
    }
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel) return event->ignore();
    unloaded_ = true;
    event->accept();
}

void frmArticoli::mnuUscita_Click() { close(); }

void frmArticoli::mnuImpostazioni_Click()
{
    {
        frmImpostazioni dialog(this);
        ShowModal(dialog);
    }
    // Other programs may have moved the counter while the dialog was open, saved or not.
    rsSetup->Refresh();
    ui.txtContatoreSSCC->setText(GeneralNumber(rsSetup->Value(QStringLiteral("contatore")).toDouble()));
}

void frmArticoli::mnuCartellaLogo_Click() { ShellOpen(PathJoin(CartellaDati, QStringLiteral("Intestazioni"))); }

// The operator learns where the manual was looked for, or that nothing opened it.
void frmArticoli::mnuManuale_Click()
{
    const QString manuale = PathJoin(CartellaDati, QStringLiteral("manuale.pdf"));
    const QString found = FindFile(manuale);
    if (found.isEmpty())
        MsgBox(QStringLiteral("Manuale non trovato: il programma lo cerca in ") + manuale + u'.', vbExclamation, QStringLiteral("Attenzione"));
    else if (!ShellOpen(found))
        MsgBox(QStringLiteral("Impossibile aprire il manuale ") + found + QStringLiteral(": nessun programma apre i file PDF."), vbExclamation,
               QStringLiteral("Attenzione"));
}

void frmArticoli::mnuInformazioni_Click()
{
    Informazioni about(this);
    ShowModal(about);
}
