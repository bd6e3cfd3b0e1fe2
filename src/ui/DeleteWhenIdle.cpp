#include "ui/DeleteWhenIdle.h"

#include "ui/OperationGuard.h"

#include <QObject>
#include <QTimer>

namespace {
constexpr int RetryMs = 50;
}

void deleteWhenIdle(QObject* window, const OperationGuard& guard)
{
    if (!guard.busy()) {
        window->deleteLater();
        return;
    }
    QTimer::singleShot(RetryMs, window, [window, &guard] { deleteWhenIdle(window, guard); });
}
