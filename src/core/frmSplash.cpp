#include "core/frmSplash.h"

#include "core/Version.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyle>

frmSplash::frmSplash(QWidget* parent) : QDialog(parent)
{
    ui.setupUi(this);
    setWindowFlag(Qt::FramelessWindowHint);
    ui.lblVersion->setText(QStringLiteral("Versione ") + ProgramVersion());
    ui.Image1->setPixmap(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(64, 64));
    ui.Image1->installEventFilter(this);
    ui.Frame1->installEventFilter(this);
    connect(ui.cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    Timer1.setSingleShot(true);
    Timer1.setInterval(3000);
    connect(&Timer1, &QTimer::timeout, this, &QDialog::accept);
    Timer1.start();
}

void frmSplash::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    accept();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
