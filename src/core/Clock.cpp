#include "core/Clock.h"

#include <QMutex>

namespace {

QMutex guard;
QDateTime fixedMoment;

} // namespace

QDateTime Now()
{
    const QMutexLocker lock(&guard);
    return fixedMoment.isValid() ? fixedMoment : QDateTime::currentDateTime();
}

void SetNow(const QDateTime& moment)
{
    const QMutexLocker lock(&guard);
    fixedMoment = moment;
}
