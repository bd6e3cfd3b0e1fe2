#include "transport/serial/SerialPortPath.h"

#include "core/Settings.h"

QString SerialPortPath(const AppCore& app, int32_t port)
{
    QString path;
    if (AppConf_Find(app, QStringLiteral("SerialPorts/COM%1").arg(port), path) && !path.isEmpty())
        return path;
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}
