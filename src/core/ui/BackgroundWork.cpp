#include "core/ui/BackgroundWork.h"

#include "core/db/Database.h"
#include "core/ui/Dialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QInputEvent>
#include <QMetaObject>
#include <QTimer>

#include <exception>
#include <thread>

namespace {

bool g_giveUp = false;

// What the operator does while the program waits is dropped, not held: a click on a button the
// wait has disabled must not act once the button is back.
class InputDropper : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Shortcut || event->type() == QEvent::ShortcutOverride) return true;
        return dynamic_cast<QInputEvent*>(event) != nullptr;
    }
};

// Runs the loop with the windows painting and answering the window system, and no handler
// re-entering the database work under way.
void runWaiting(QEventLoop& loop)
{
    Database::WaitingScope waiting;
    InputDropper dropper;
    QCoreApplication::instance()->installEventFilter(&dropper);
    loop.exec();
}

} // namespace

void RunWhileWindowsPaint(const std::function<void()>& work)
{
    WaitCursor hourglass;
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    runWaiting(loop);
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

void WaitForLocksWhileWindowsPaint(std::chrono::milliseconds limit)
{
    Database::SetLockWait([limit, waited = QElapsedTimer()](int retries) mutable {
        if (retries == 0) waited.start();
        if (g_giveUp || waited.elapsed() >= limit.count()) return false;
        WaitCursor hourglass;
        // A short slice of events, then SQLite tries the lock again.
        QEventLoop slice;
        QTimer::singleShot(20, &slice, &QEventLoop::quit);
        runWaiting(slice);
        return !g_giveUp;
    });
}

bool WaitingWhileWindowsPaint() { return Database::Waiting(); }

void GiveUpWaiting() { g_giveUp = true; }

void ResumeWaiting() { g_giveUp = false; }
