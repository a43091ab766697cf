#pragma once
// The one-line text prompt: the caller sets the window title and the question (ui.txtRichiesta),
// shows it modally and then reads RichiestaOK and, when set, TestoRichiesta.
// Enter in the answer confirms, Escape cancels.

#include "ui_frmIntestazioni.h"

#include <QDialog>

class frmIntestazioni : public QDialog {
    Q_OBJECT
public:
    explicit frmIntestazioni(QWidget* parent = nullptr);

    Ui::frmIntestazioni ui;

    void cmdOk_Click();
    void cmdAnnulla_Click();
};
