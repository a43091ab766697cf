#pragma once
// The folder picker of the request folder: a list of the file-system roots and mounted volumes
// and the folders below the chosen one. "&Ok" writes the chosen folder into the settings field.

#include "ui_frmCartella.h"

#include <QDialog>
#include <QFileSystemModel>

class QLineEdit;

class frmCartella : public QDialog {
    Q_OBJECT
public:
    frmCartella(QLineEdit& cartellaRichieste, QWidget* parent = nullptr);

    Ui::frmCartella ui;

    // The folder chosen in the folder list.
    QString Path() const;
    // False when the folder does not exist.
    bool SetPath(const QString& folder);

    void Drive1_Change();
    void cmdOk_Click();
    void cmdAnnulla_Click();

private:
    void Form_Load();
    void SetDrive(const QString& root);

    QLineEdit& cartella_;
    QFileSystemModel folders_;
};
