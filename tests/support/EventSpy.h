#pragma once
// Calls a function at each event of one type that an object receives, before the object sees it.

#include <QEvent>
#include <QObject>

#include <functional>
#include <utility>

class EventSpy : public QObject {
public:
    EventSpy(QObject* watched, QEvent::Type type, std::function<void()> seen) : type_(type), seen_(std::move(seen))
    {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == type_) seen_();
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> seen_;
};
