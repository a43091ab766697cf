#pragma once
// The archived pallet picker of the reprint: every archived pallet, highest SSCC first, in a view
// over the archive (the scroll bar spans it all; the rows shown are read as they appear). A pick
// writes the SSCC, then its header key as the tag, into the field it was opened for.

#include "labels/ReprintArchiveList.h"
#include "ui_frmScegliPNC.h"

#include <QDialog>

#include <memory>

class QLineEdit;

class frmScegliPNC : public QDialog {
    Q_OBJECT
public:
    // Lists the archive at once; `ssccField` receives the pick.
    explicit frmScegliPNC(QLineEdit& ssccField, QWidget* parent = nullptr);

    Ui::frmScegliPNC ui;

    void Form_Load();
    const ArchiveListModel& Lista() const { return *model_; }

    void cmdSeleziona_Click();
    void flxArticoli_DblClick();
    void cmdOk_Click();

private:
    QLineEdit& ssccField_;
    std::unique_ptr<ArchiveListModel> model_;
};
