#pragma once
// The icon passive mode shows in the tray, with its tooltip and pop-up menu. Without a tray host
// (offscreen, a bare X server) passive mode runs on, and the icon shows once a tray starts.

#include <QObject>
#include <QPixmap>
#include <QString>

#include <deque>

class QMenu;
class QSystemTrayIcon;

class TrayIcon : public QObject {
public:
    explicit TrayIcon(QObject* parent) : QObject(parent) {}

    // The menu opens on the icon's right button; the tooltip keeps its first 63 characters.
    void Add(const QPixmap& picture, const QString& tip, QMenu* menu);
    void Remove();
    // A message beside the icon that asks nothing and stops nothing.
    void Tell(const QString& title, const QString& text);

    struct Told {
        QString title;
        QString text;
    };
    // The latest messages told, oldest first.
    const std::deque<Told>& told() const { return told_; }

    bool shown() const { return shown_; }
    const QString& tip() const { return tip_; }
    QMenu* menu() const { return menu_; }
    // Null until the icon is first added.
    QSystemTrayIcon* platformIcon() const { return icon_; }

private:
    bool shown_ = false;
    QString tip_;
    QMenu* menu_ = nullptr;
    QSystemTrayIcon* icon_ = nullptr;
    std::deque<Told> told_;
};
