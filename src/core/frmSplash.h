#pragma once
// The splash window shown at start-up: closes after 3 seconds, or at once on a click, a key or "&Ok".

#include "ui_frmSplash.h"

#include <QDialog>
#include <QTimer>

class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    Ui::frmSplash ui;
    QTimer Timer1;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
