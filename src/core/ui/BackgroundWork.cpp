#include "core/ui/BackgroundWork.h"

#include "core/ui/Dialogs.h"

#include <QEventLoop>
#include <QMetaObject>

#include <exception>
#include <thread>

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
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure) std::rethrow_exception(failure);
}
