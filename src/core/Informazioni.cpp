#include "core/Informazioni.h"

#include "core/Globals.h"
#include "core/Utility.h"
#include "core/Version.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

Informazioni::Informazioni(QWidget* parent) : QDialog(parent)
{
    ui.setupUi(this);
    numClick = 0;
    setWindowTitle(QStringLiteral("S T I V O R A   v") + ProgramVersion());
    ui.Label4->setText(QStringLiteral("Versione ") + ProgramVersion());
    QStyle* style = QApplication::style();
    ui.imgKVR->setPixmap(style->standardIcon(QStyle::SP_ComputerIcon).pixmap(64, 64));
    ui.imgTervo->setPixmap(style->standardIcon(QStyle::SP_DialogYesButton).pixmap(64, 64));
    for (QLabel* label : {ui.Label1, ui.Label4, ui.Label5, ui.Label6, ui.Label7, ui.Label8, ui.Label9})
        label->setStyleSheet(QStringLiteral("color: white;"));
    for (QLabel* link : {ui.Label6, ui.Label7}) {
        link->setStyleSheet(QStringLiteral("color: #9fd0ff; text-decoration: underline;"));
        link->setCursor(Qt::PointingHandCursor);
    }
    ui.Label7->setToolTip(CartellaDati);
    for (QWidget* w : {static_cast<QWidget*>(ui.imgKVR), static_cast<QWidget*>(ui.Label1), static_cast<QWidget*>(ui.Label4),
                       static_cast<QWidget*>(ui.Label5), static_cast<QWidget*>(ui.Label6), static_cast<QWidget*>(ui.Label7),
                       static_cast<QWidget*>(ui.Label8), static_cast<QWidget*>(ui.Label9)})
        w->installEventFilter(this);
}

// 256 bands from black at the top to full blue at the bottom.
void Informazioni::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const double band = height() / 256.0;
    for (int i = 0; i < 256; ++i)
        painter.fillRect(QRectF(0, i * band, width(), band + 1), QColor(0, 0, i));
}

void Informazioni::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    accept();
}

void Informazioni::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    accept();
}

bool Informazioni::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress) return QDialog::eventFilter(watched, event);
    if (watched == ui.Label4) Label4_Click();
    else if (watched == ui.Label6) ShellOpen(PathJoin(CartellaDati, QStringLiteral("manuale.pdf")));
    else if (watched == ui.Label7) ShellOpen(CartellaDati);
    else accept();
    return true;
}

void Informazioni::Label4_Click()
{
    if (++numClick == 5) ui.imgKVR->setPixmap(ui.imgTervo->pixmap());
}
