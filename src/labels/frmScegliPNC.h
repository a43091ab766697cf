#pragma once
// The archived pallet picker of the reprint: every archived pallet, highest SSCC first. The grid
// is filled a page at a time as the operator scrolls down, so it opens at once on any archive.
// A pick writes the SSCC, then its header key as the tag, into the field it was opened for.

#include "labels/ReprintArchiveList.h"
#include "ui_frmScegliPNC.h"

#include <QDialog>

#include <optional>

class QLineEdit;

class frmScegliPNC : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPagina = 100;

    // Lists the archive at once; `ssccField` receives the pick.
    explicit frmScegliPNC(QLineEdit& ssccField, QWidget* parent = nullptr);

    Ui::frmScegliPNC ui;

    // Empties the grid to its title row and writes the titles.
    void ClearReg();
    void Form_Load();
    // Adds the next page of the archive; false when none is left.
    bool CaricaPagina();

    void cmdSeleziona_Click();
    void flxArticoli_DblClick();
    void cmdOk_Click();

private:
    void TitoliGriglia();
    void CaricaSeInFondo();

    QLineEdit& ssccField_;
    std::optional<ArchiveListCursor> last_;
    bool finished_ = true;
    bool loading_ = false;
};
