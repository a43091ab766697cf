#pragma once
// The results of an article search: one row per article, the article's ID as the row data.
// It stays open beside the main window until an article is picked or it is closed; closing
// destroys it, so at most one exists, found by its caption.

#include "ui_frmListaPNC.h"

#include <QWidget>

class frmListaPNC : public QWidget {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral(" Articoli trovati");

    explicit frmListaPNC(QWidget* parent = nullptr);

    Ui::frmListaPNC ui;

    // Empties the grid to its title row and writes the titles.
    void ClearReg();

    void cmdSeleziona_Click();
    void flxArticoli_DblClick();
    void cmdOk_Click();

private:
    void TitoliGriglia();
};
