#include "ui/WindowPlacement.h"

#include "core/ResultCodes.h"
#include "core/Host.h"
#include "core/Settings.h"

#include <QApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace {

constexpr double TwipsPerInch = 1440.0;
// Stored values beyond this are garbage; clamping first keeps the pixel arithmetic sane.
constexpr double LargestTwips = 1.0e7;

double twipsPerPixel()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return TwipsPerInch / (dpi > 0 ? dpi : 96.0);
}

QString placementKey(const QWidget& window, const char* field)
{
    return QStringLiteral("GUI/Windows/") + window.objectName() + '/' + QLatin1String(field);
}

// The stored value in pixels when it is greater than 0 (its leading decimal number).
std::optional<int> storedPixels(AppCore& core, const QWidget& window, const char* field)
{
    static const QRegularExpression leading(QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)"));
    QString text;
    if (AppConf_GetValue(core, placementKey(window, field), text) < 0)
        return std::nullopt;
    const double twips = qRound(leading.match(text).captured().trimmed().toDouble());
    if (twips <= 0)
        return std::nullopt;
    return TwipsToPixels(std::min(twips, LargestTwips));
}

int atLeastMinimum(int pixels, int minimumTwips)
{
    return minimumTwips < 1 ? pixels : std::max(pixels, TwipsToPixels(minimumTwips));
}

// The screen that shows most of the rectangle; the primary screen when none does.
const QScreen* screenShowing(const QRect& rect)
{
    const QScreen* best = QGuiApplication::primaryScreen();
    qint64 bestArea = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(rect);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best;
}

// The window manager's frame around the client area: the real one once it is known,
// else a title bar as the style draws one (a window not yet shown has no frame yet).
QSize frameAround(const QWidget& window)
{
    const QSize known = window.frameGeometry().size() - window.size();
    if (known.width() > 0 || known.height() > 0)
        return known;
    return {0, qApp ? QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight) : 0};
}

// Moves the window with its frame wholly onto the screen that shows most of it,
// shrinking it to that screen's room when it is larger: the screen wins over the
// minimum, which is lowered to fit, so every control stays within reach.
void keepOnScreen(QWidget& window, int minWidth, int minHeight)
{
    const QScreen* screen = screenShowing(QRect(window.pos(), window.size()));
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = frameAround(window);
    const QSize room = (area.size() - frame).expandedTo(QSize(1, 1));
    window.setMinimumSize(window.minimumSize().boundedTo(room));
    const int width = std::min(std::max(window.width(), minWidth), room.width());
    const int height = std::min(std::max(window.height(), minHeight), room.height());
    window.resize(width, height);
    // A window that stays where it is keeps the window manager's choice of its place.
    const int left =
        std::clamp(window.x(), area.left(), std::max(area.left(), area.right() + 1 - width - frame.width()));
    const int top =
        std::clamp(window.y(), area.top(), std::max(area.top(), area.bottom() + 1 - height - frame.height()));
    if (QPoint(left, top) != window.pos())
        window.move(left, top);
}

int styleMetricTwips(QStyle::PixelMetric metric)
{
    return qApp ? qRound(PixelsToTwips(QApplication::style()->pixelMetric(metric))) : 0;
}

}  // namespace

void KeepOnScreen(QWidget& window)
{
    keepOnScreen(window, window.minimumWidth(), window.minimumHeight());
}

int TwipsToPixels(double twips)
{
    return qRound(twips / twipsPerPixel());
}

double PixelsToTwips(int pixels)
{
    return pixels * twipsPerPixel();
}

void RestoreWindowPlacement(AppCore& core, QWidget& window, int minWidthTwips, int minHeightTwips)
{
    if (const auto top = storedPixels(core, window, "Top"))
        window.move(window.x(), *top);
    if (const auto left = storedPixels(core, window, "Left"))
        window.move(*left, window.y());
    if (const auto width = storedPixels(core, window, "Width"))
        window.resize(atLeastMinimum(*width, minWidthTwips), window.height());
    if (const auto height = storedPixels(core, window, "Height"))
        window.resize(window.width(), atLeastMinimum(*height, minHeightTwips));
    keepOnScreen(window, atLeastMinimum(0, minWidthTwips), atLeastMinimum(0, minHeightTwips));
}

int32_t SaveWindowPlacement(AppCore& core, QWidget& window, Host* panel)
{
    std::optional<BusyPointer> busy;
    if (core.host)
        busy.emplace(*core.host);
    if (panel)
        panel->setStatusText(QStringLiteral("Mise à jour du fichier de configuration !"));
    AppConf_Ensure(core);
    int32_t result = rc::Ok;
    const auto store = [&](const char* field, int pixels) {
        const int32_t stored =
            AppConf_SetValue(core, placementKey(window, field), QString::number(qRound64(PixelsToTwips(pixels))));
        if (result == rc::Ok)
            result = stored;
    };
    store("Top", window.y());
    store("Left", window.x());
    store("Width", window.width());
    store("Height", window.height());
    if (result == rc::Ok)
        result = AppConf_Save(core);
    if (panel)
        panel->setStatusText(QString());
    return result;
}

void CenterWindow(QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize frame = window.frameGeometry().size();
    window.move(area.x() + (area.width() - frame.width()) / 2,
                area.y() + (area.height() - frame.height()) / 2);
}

int ScrollBarWidth()
{
    return styleMetricTwips(QStyle::PM_ScrollBarExtent);
}

int DialogFrameWidth()
{
    return styleMetricTwips(QStyle::PM_DefaultFrameWidth);
}
