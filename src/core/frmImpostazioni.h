#pragma once
// The settings dialog: the configuration columns of the Setup row (SSCC prefix and counter, label
// content, expiry rule, defaults of new articles, lot mask, request folder, printers and margins,
// caption language, pallet weights, AI order). "&Ok" saves and closes; "&Annulla" drops everything.

#include "ui_frmImpostazioni.h"

#include <QDialog>

#include <array>

class frmImpostazioni : public QDialog {
    Q_OBJECT
public:
    explicit frmImpostazioni(QWidget* parent = nullptr);

    Ui::frmImpostazioni ui;

    void cmdOk_Click();
    void cmdCancel_Click();
    void cmbPallet_Click();
    void cmdSu_Click();
    void cmdGiu_Click();
    void cmdImposta_Click();
    void cmdImpostaImballi_Click();
    void cmdCambia_Click();

private:
    void Form_Load();
    void SalvaPesoPallet();
    void CaricaStampanti(QComboBox& list, const QString& saved);
    void ImpostaStampante(const QComboBox& list);
    void ScambiaOrdineAI(int offset);
    bool Salva();
    bool ContatoreValido();
    void ScriviImpostazioni(class Recordset& row);

    // Tare weights: entries 0 to 8 for pallet types 1 to 9, entry 9 for type 0.
    std::array<double, 10> pesi_{};
    int palletCorrente_ = 0;
    QString contatoreLetto_; // the counter as the dialog showed it

};
