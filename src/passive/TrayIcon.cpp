#include "passive/TrayIcon.h"

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

void TrayIcon::Add(const QPixmap& picture, const QString& tip, QMenu* menu)
{
    tip_ = tip.left(63);
    menu_ = menu;
    shown_ = true;
    // Made also without a tray: the icon appears as soon as one starts.
    if (!icon_) icon_ = new QSystemTrayIcon(this);
    icon_->setIcon(QIcon(picture));
    icon_->setToolTip(tip_);
    icon_->setContextMenu(menu);
    icon_->show();
}

void TrayIcon::Remove()
{
    shown_ = false;
    if (icon_) icon_->hide();
}

void TrayIcon::Tell(const QString& title, const QString& text)
{
    told_.push_back({title, text});
    if (told_.size() > 100) told_.pop_front();
    if (shown_ && icon_) icon_->showMessage(title, text, QSystemTrayIcon::Warning);
}
