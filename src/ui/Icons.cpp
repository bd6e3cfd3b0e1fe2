#include "ui/Icons.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace {

QString resourcePath(const QString& imgName)
{
    return QStringLiteral(":/icons/") + imgName + QStringLiteral(".svg");
}

}  // namespace

QIcon Icon(const QString& imgName)
{
    const QString path = resourcePath(imgName);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

QPixmap IconPixmap(const QString& imgName, int size)
{
    QSvgRenderer renderer(resourcePath(imgName));
    if (!renderer.isValid() || size <= 0)
        return {};
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return pixmap;
}
