// Passive mode on and off: the File menu's entries, the tray icon and its pop-up menu.
#include "core/frmArticoli.h"

#include "core/Globals.h"
#include "core/HandlerGuard.h"
#include "core/ui/BackgroundWork.h"
#include "core/ui/Dialogs.h"
#include "passive/Avvisi.h"
#include "passive/TrayIcon.h"
#include "passive/frmRichiesteAccantonate.h"

#include <QApplication>

void frmArticoli::ConnettiPassivo()
{
    TrayIconData = new TrayIcon(this);
    avvisi_ = std::make_unique<Avvisi>(*TrayIconData);
    cartellaRichieste_.OnScartato([this](const QByteArray& file, const QString& motivo) {
        accantonate_.addFile(file, motivo);
        avvisi_->Scartato(file, motivo);
    });
    // In passive mode the message goes beside the tray icon.
    cartellaRichieste_.OnRimessi(
        [](const QStringList& files) { MsgBox(FileRimessi(files), vbInformation | vbOKOnly, QStringLiteral("Attenzione")); });
    connect(&timPassive, &QTimer::timeout, this, Protetto([this] { timPassive_Timer(); }));
    connect(ui.mnuAccantonate, &QAction::triggered, this, Protetto([this] { mnuAccantonate_Click(); }));
    connect(ui.mnuModoPassivo, &QAction::triggered, this, Protetto([this] { mnuModoPassivo_Click(); }));
    connect(ui.mnuModoPassivoFile, &QAction::triggered, this, Protetto([this] { mnuModoPassivoFile_Click(); }));
    // The tray menu answers while a tick waits for a lock.
    connect(ui.mnuApri, &QAction::triggered, this, ProtettoInAttesa([this] { mnuApri_Click(); }));
    connect(ui.mnuChiudi, &QAction::triggered, this, ProtettoInAttesa([this] { mnuChiudi_Click(); }));
}

void frmArticoli::BackGroundMode(QLabel* picture, const QString& tip) { TrayIconData->Add(picture->pixmap(), tip, ui.mnuPopup); }

void frmArticoli::ForeGroundMode() { TrayIconData->Remove(); }

// A message box a print handler shows is then the only window: closing it must not end the
// program, which in passive mode ends only by "&Chiudi".
void frmArticoli::ModoPassivo()
{
    BackGroundMode(ui.IconTray, QStringLiteral("Stivora"));
    QApplication::setQuitOnLastWindowClosed(false);
    hide();
    timPassive.start();
}

// Without the request file the import stops too: the entry's name promises no file.
void frmArticoli::mnuModoPassivo_Click()
{
    ModoInterattivo = false;
    ModoFileRichiesta = false;
    ModoPassivo();
}

void frmArticoli::mnuModoPassivoFile_Click()
{
    ModoInterattivo = false;
    ModoFileRichiesta = true;
    ModoPassivo();
}

// While a tick waits for a lock the window opens when the tick ends, its waits given up.
void frmArticoli::mnuApri_Click()
{
    if (tickInCorso_ && WaitingWhileWindowsPaint()) {
        aperturaRichiesta_ = true;
        GiveUpWaiting();
        return;
    }
    ModoInterattivo = true;
    timPassive.stop();
    ForeGroundMode();
    show();
    QApplication::setQuitOnLastWindowClosed(true);
}

// A hidden window closing does not end the event loop by itself. In the middle of a tick the
// database is still in use: the tick closes the program when it ends, its lock waits given up.
void frmArticoli::mnuChiudi_Click()
{
    if (tickInCorso_) {
        chiusuraRichiesta_ = true;
        GiveUpWaiting();
        return;
    }
    timPassive.stop();
    ForeGroundMode();
    if (close()) QApplication::quit();
}

// The window is not modal: the requests go on being printed while the operator looks.
void frmArticoli::mnuAccantonate_Click()
{
    if (!finestraAccantonate_) {
        finestraAccantonate_ = new frmRichiesteAccantonate(*DB, accantonate_, *avvisi_, this);
        finestraAccantonate_->setAttribute(Qt::WA_DeleteOnClose);
    }
    finestraAccantonate_->show();
    finestraAccantonate_->raise();
    finestraAccantonate_->activateWindow();
}

std::optional<qint64> frmArticoli::PalletInStampa() const
{
    return richiestaInStampa_ ? std::optional<qint64>(richiestaInStampa_->id) : std::nullopt;
}
