#pragma once
// The requests passive mode set aside, each with its table, key and why it was refused: the
// operator drops one from its table or sends it again, to be printed at the next tick. The list
// follows the requests as they are set aside.

#include "ui_frmRichiesteAccantonate.h"

#include <QDialog>

class Avvisi;
class Database;
class SetAsideRequests;

class frmRichiesteAccantonate : public QDialog {
    Q_OBJECT
public:
    frmRichiesteAccantonate(Database& db, SetAsideRequests& accantonate, Avvisi& avvisi, QWidget* parent = nullptr);
    ~frmRichiesteAccantonate() override;

    Ui::frmRichiesteAccantonate ui;

    void Form_Load();
    // The current row's request leaves its table, after a confirmation; a refused file leaves the list.
    void cmdElimina_Click();
    // The current row's request is tried again at the next tick; a refused file goes back to the
    // request folder.
    void cmdRiprova_Click();
    void cmdChiudi_Click();

private:
    // The set-aside entry of the grid's current row; -1 when no data row is current.
    int Corrente() const;
    Database& db_;
    SetAsideRequests& accantonate_;
    Avvisi& avvisi_;
};
