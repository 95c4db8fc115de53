#include "platform/MessagePump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace oxw::platform {

bool PumpMessagesUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!done()) QThread::msleep(1);
    }
    return true;
}

}  // namespace oxw::platform
