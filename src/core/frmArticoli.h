#pragma once
// The main window: the article panel, the pages of the tab control SSTab1 (Stampa, Ristampa,
// Imballi, DDT, Cerca), the heading list, the SSCC counter and the menus. One class; every control
// is public in `ui` under the program's name for it (ui.txtLotto, ui.cmdStampa, ui.mnuUscita …).
// Each subsystem writes its handlers in its own folder and connects them in the constructor.
//
// Controls that are not plain widgets:
// - masked edit boxes (msk…) are QLineEdits with an input mask; the date and time masks are set
//   from MascheraData and MascheraOra at load;
// - grids (flxLotti, flxDDT) are FlexGrids: row 0 is the title row;
// - the control array labIntestazione(Index) is the list `labIntestazione`; member 0 is
//   ui.labIntestazione_0;
// - the pictures imgSalva, imgNuovo and IconTray are hidden labels holding a pixmap;
// - the print-side copy of the article (txtCodInternoS … txtPrefGTINS) lives in a hidden frame;
// - the tags of txtSSCC and txtDurataProdottoS are read and written with Tag/SetTag (ui/ControlTag.h);
// - the tray menu mnuPopup ("PopUp") is ui.mnuPopup, not in the menu bar.
// Form_Load sets check boxes without raising their handlers: connect the check boxes' `clicked`.

#include "labels/PalletLabel.h"
#include "passive/RequestImport.h"
#include "passive/SetAsideRequests.h"
#include "reports/PrinterSystem.h"
#include "reports/ReportLayout.h"
#include "ui_frmArticoli.h"

#include <QDateTime>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class QLabel;

class frmArticoli : public QMainWindow {
    Q_OBJECT
public:
    explicit frmArticoli(QWidget* parent = nullptr);
    ~frmArticoli() override;

    Ui::frmArticoli ui;
    QList<QLabel*> labIntestazione;
    // Request timer of passive mode: 500 ms, off until passive mode starts.
    QTimer timPassive;

    // The printer that was the system's default when the window loaded (empty name when none).
    PrinterInfo DefaultPrinter;
    // Article edit in progress: 1 new article, 2 modification, 3 copy.
    int Stato = 0;
    // The window's Tag: the ID of the article being modified, "-1" for a new article or a copy.
    QString Tag;

    // Prepares the window from the Setup row and shows it.
    void Form_Load();
    // Asks before closing (when interactive), saves the operator settings and closes the
    // database; Cancel set keeps the window open.
    void Form_Unload(int& Cancel);

    void mnuUscita_Click();
    void mnuImpostazioni_Click();
    void mnuCartellaLogo_Click();
    void mnuManuale_Click();
    void mnuInformazioni_Click();

    // Article master: the panel, its commands and the search.
    void CaricaArticolo();
    void ArticoloNuovo();
    // 1 edit, 2 browse; any other value changes nothing.
    void Pulsanti(int modo);
    void BloccaCampi(bool abilita);
    // Turns the fields of group n pink and the others white; 0 whitens all.
    void EvidenziaCampo(int n);
    // Runs the article checks for the edit in progress; false, after its message, at the first failure.
    bool ControllaArticolo(int modo);
    void txtEAN_LostFocus();
    void txtGTIN_LostFocus();
    void cmdAvanti_Click();
    void cmdIndietro_Click();
    void cmdNuovoArticolo_Click();
    void cmdCopiaArticolo_Click();
    void cmdModificaArticolo_Click();
    void cmdEliminaArticolo_Click();
    void cmdAnnulla_Click();
    // An empty prompt lists every article; otherwise the answer is the start of the code searched.
    void CercaArticoli(const QString& prompt, const QString& queryPrefix);
    void cmdCercaAbb_Click();
    void cmdCercaInterno_Click();
    void cmdListaArticoli_Click();
private:
    void ConnettiArticoli();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ImpostaCampi();
    void ConnettiShell();
    void CaricaImpostazioniOperatore();
    void SalvaImpostazioniOperatore();

    bool unloaded_ = false;

    // Delivery notes: the open note on the DDT page.
public:
    void cmdNuovoDDT_Click();
    void cmdCercaDDT_Click();
    // Shows the saved note of this number and date; false, after a message, when there is none.
    bool CaricaDDT(const QString& numero, const QString& dataDDT);
    // Writes the open note; pallets gone from the archive leave the grid, each with a message.
    // False, after the engine's error, when nothing was written.
    bool SalvaDDT();
    void cmdSalvaDDT_Click();
    void cmdAggiungiSSCC_Click();
    void cmdUpSSCC_Click();
    void cmdDownSSCC_Click();
    void cmdEliminaSSCC_Click();
    void PulisciDDT();
    void TitoliDDT();

private:
    void ConnettiDDT();
    bool DomandaSalvataggioDDT(QPushButton* premuto);
    void RimuoviRigaDDT(int row);
    void SpostaSSCC(int from, int to);

    // Label job and the pallet print button.
public:
    // The layout being printed or previewed: pallet, mixed-pallet and delivery-note labels.
    std::unique_ptr<ReportLayout> MyReport;
    void cmdDataOra_Click();
    // Reads the clock once into the production date and time fields and returns that reading.
    QDateTime LeggiOrologio();
    void chkAutoUpdate_Click();
    void chkAutoLotto_Click();
    void LottoAutomatico();
    // With automatic time, `clock` is the reading the fields already show; invalid: read the clock now.
    QString ComponiLotto(const QDateTime& expiry, const QDateTime& clock = {});
    QDateTime CalcolaScadenza(const QDateTime& production, int count, int unit);
    void cmdStampa_Click();
    void CaricaArticoloStampa();
    void StampaPallet();
    void AbilitaControlli(bool enabled);
    // Why the job's pallet label cannot be printed (the article's values, the SSCC, its symbols), before anything is done; "" when it can.
    QString RifiutoEtichettaPallet();
    // The pallet label as the print-side fields and the job's fields state it, before dates and serial.
    PalletLabelArgs ArgomentiEtichetta() const;
    // The pallet printed, or nothing when its SSCC is archived already (nothing is shown).
    std::optional<PrintedPallet> PreparaEtichettaPallet();
    // Reserves, prints, counts, archives and exports one pallet label, then shows the counter and the
    // last pallet; nothing when the SSCC is archived already. A failure once the label is out is in
    // the reservation returned.
    std::optional<PrintedPallet> StampaEtichettaPallet(const PalletLabelArgs& args, bool copyCopies = true);
    void cmdIncrementa_Click();
    void mskQtCartoni_GotFocus();

private:
    void ConnettiEtichette();
    bool ControllaLavoro();
    bool StampaPalletSingoli();
    void AggiungiLotto();

    // Carton labels: the Imballi tab.
public:
    // The carton layout last printed or previewed.
    std::unique_ptr<ReportLayout> Report2;
    // Errors of the database or the print job reach the caller (the request timer retries them).
    void cmdStampaImballi_Click();
    void StampaEtichetteImballi();
    // A run of `copies` carton labels of `row`, the request being printed taken with it.
    void InviaEtichetteImballi(const CartonRow& row, int copies, bool preview);
    void mskQtImballi_GotFocus();

private:
    void ConnettiImballi();

    // Mixed-lot pallet: the lot grid and its print.
public:
    void chkMultiLotto_Click();
    void PulisciLotti();
    void TitoliLotti();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdRemove_Click();
    void mskQtPallet_GotFocus();
    // In passive mode an error of the database or the print reaches the caller, which retries it.
    void cmdStampaMulti_Click();

private:
    void ConnettiMultiLotto();
    void SpostaLotto(int from, int to);
    void StampaMultiLotto();
    std::optional<Reservation> StampaRiepilogo(struct MixedPalletJob& job);

    // Reprint and logo headings.
public:
    // Shows the archived pallet of highest SSCC in the reprint field.
    void UltimoSSCC();
    void txtSSCC_Change();
    void txtSSCC_KeyPress(int& KeyAscii);
    void cmdScegliPNC_Click();
    // Errors of the database or the print job reach the caller (the request timer retries them).
    void cmdRistampa_Click();
    void RistampaEtichetta(qint64 idAppTestate, int copies, bool preview);
    // Sends again the labels a stop may have kept from the printer, and gives back the pallets whose
    // preview was open.
    void RiprendiStampe();
    void CaricaIntestazioni(const QString& folder);
    void cmbIntestazione_Click();
    void labIntestazione_DblClick(int Index);

private:
    void ConnettiRistampa();
    void ConnettiIntestazioni();

    // Delivery-note printing, traceability search and archive clearing.
public:
    // The trace listings last shown: by lot (Report5) and by SSCC (Report6).
    std::unique_ptr<ReportLayout> Report5, Report6;
    void cmdStampaDDT_Click();
    // Saves pending changes, then prints or previews the open note's summary sheet.
    void StampaDDT();
    void optCercaArtLotto_Click();
    void optCercaSSCC_Click();
    void cmdCerca_Click();
    void mnuAzzeraStorico_Click();
    void mnuAzzeraExport_Click();

private:
    void ConnettiStampaDDT();
    void CercaPerLotto();
    void CercaPerSSCC();

    // Passive mode: request files, the request timer and the tray.
public:
    class TrayIcon* TrayIconData = nullptr;
    // Imports the request folder's files when ModoFileRichiesta is on.
    void ImportaRichieste();
    // Prints every request of the request tables; a request that fails stays for the next tick, one
    // that a check refuses stays set aside while the requests behind it are printed.
    void timPassive_Timer();
    void BackGroundMode(QLabel* picture, const QString& tip);
    void ForeGroundMode();
    // Hides the window behind the tray icon and starts the request timer.
    void ModoPassivo();
    void mnuModoPassivo_Click();
    void mnuModoPassivoFile_Click();
    void mnuApri_Click();
    void mnuChiudi_Click();

    // Opens the window of the requests set aside (the tray menu's entry).
    void mnuAccantonate_Click();
    // Requests refused in passive mode, each with why.
    SetAsideRequests& Accantonate() { return accantonate_; }

private:
    void ConnettiPassivo();
    bool ElaboraTestata();
    bool ElaboraImballo();
    // `stampa` gives why the request cannot be printed, or "" once it has gone to the print handlers.
    void StampaRichiesta(const RequestKey& key, const QString& impronta, const std::function<QString()>& stampa);
    QString RistampaRichiesta(const RequestHeader& testata);
    QString PalletRichiesta(qint64 id, const RequestHeader& testata);
    QString ImballoRichiesta(const RequestLine& imballo);
    // Finds the request's article in the master; false when it is not there.
    bool TrovaArticolo(const RequestLine& riga);
    void ArticoloRichiesta(const RequestLine& riga);
    // The pallet request being printed, for its reservation.
    std::optional<qint64> PalletInStampa() const;
    RequestFolder cartellaRichieste_;
    SetAsideRequests accantonate_;
    std::unique_ptr<class Avvisi> avvisi_;
    QPointer<class frmRichiesteAccantonate> finestraAccantonate_;
    bool tickInCorso_ = false;
    bool chiusuraRichiesta_ = false;
    bool aperturaRichiesta_ = false;
    // The passive request being printed: its print takes the row, in its own transaction.
    std::optional<RequestKey> richiestaInStampa_;
    // The serial its pallet asks for instead of the counter's next.
    std::optional<qint64> serialeRichiesta_;
    bool richiestaConsumata_ = false;
};

// The main window of this run (the program's other windows and passive mode address it); null
// while none exists.
inline frmArticoli* FormArticoli = nullptr;
