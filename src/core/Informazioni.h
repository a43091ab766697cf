#pragma once
// The about box: the program's name, version and purpose, with links to the manual and the data
// folder. A click or a key closes it, except on the version line and the links.

#include "ui_Informazioni.h"

#include <QDialog>

class Informazioni : public QDialog {
    Q_OBJECT
public:
    explicit Informazioni(QWidget* parent = nullptr);

    Ui::Informazioni ui;
    // Clicks on the version line; the fifth changes the picture.
    int numClick = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Label4_Click();
};
