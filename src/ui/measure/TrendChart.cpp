#include "ui/measure/TrendChart.h"

#include "core/AppCore.h"
#include "core/Host.h"

#include <QChart>
#include <QChartView>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QLineSeries>
#include <QMenu>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

constexpr uint8_t LimitBits = 0xF0;
constexpr uint8_t ErrorBit = 0x01;
constexpr double Margin = 0.05;
constexpr int MinimumHeight = 150;
constexpr double MaxTimeSteps = 6;

// A round step in seconds that puts at most six steps on the time axis.
double timeStep(double span)
{
    for (const double step : {2.0, 5.0, 10.0, 30.0, 60.0})
        if (span / step <= MaxTimeSteps)
            return step;
    return 60.0;
}

}  // namespace

TrendChart::TrendChart(Host& host, QWidget* parent) : QWidget(parent), host_(host)
{
    setObjectName(QStringLiteral("TrendChart"));
    chart_ = new QChart;
    chart_->legend()->hide();
    chart_->setMargins(QMargins(2, 2, 2, 2));
    chart_->setBackgroundRoundness(0);
    values_ = new QLineSeries(chart_);
    events_ = new QScatterSeries(chart_);
    events_->setColor(Qt::red);
    events_->setMarkerSize(8);
    chart_->addSeries(values_);
    chart_->addSeries(events_);
    timeAxis_ = new QValueAxis(chart_);
    timeAxis_->setTitleText(QStringLiteral("s"));
    timeAxis_->setLabelFormat(QStringLiteral("%.0f"));
    timeAxis_->setTickType(QValueAxis::TicksDynamic);
    timeAxis_->setTickAnchor(0);
    valueAxis_ = new QValueAxis(chart_);
    for (QValueAxis* axis : {timeAxis_, valueAxis_}) {
        QFont small = axis->labelsFont();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        axis->setLabelsFont(small);
        axis->setTitleFont(small);
    }
    chart_->addAxis(timeAxis_, Qt::AlignBottom);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);
    for (QAbstractSeries* series : {static_cast<QAbstractSeries*>(values_), static_cast<QAbstractSeries*>(events_)}) {
        series->attachAxis(timeAxis_);
        series->attachAxis(valueAxis_);
    }
    view_ = new QChartView(chart_, this);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    // Tab reaches the curve for the menu key: a frame shows that it has the keyboard.
    view_->setStyleSheet(QStringLiteral("QChartView { border: 1px solid transparent; }"
                                        "QChartView:focus { border: 1px solid palette(highlight); }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setMinimumHeight(MinimumHeight);
    fitAxes(0);
}

void TrendChart::addSample(const TickDisplay& shown)
{
    if (paused_)
        return;
    // A new unit restarts the clock with the curve: taken before the time is.
    takeUnit(shown);
    if (!clock_.isValid())
        clock_.start();
    addSample(double(clock_.elapsed()) / 1000.0, shown);
}

void TrendChart::addSample(double seconds, const TickDisplay& shown)
{
    if (paused_)
        return;
    takeUnit(shown);
    // A tick in error has no value to show: the next valid one marks a change.
    if (!(shown.statusShort & ErrorBit)) {
        const uint8_t limits = shown.statusShort & LimitBits;
        values_->append(seconds, shown.value);
        if (limits != lastLimits_)
            events_->append(seconds, shown.value);
        lastLimits_ = limits;
    }
    dropOldPoints(seconds);
    fitAxes(seconds);
}

void TrendChart::takeUnit(const TickDisplay& shown)
{
    // Values of another unit do not share an axis with the old ones: the curve starts afresh.
    // A tick in error carries no unit and leaves the curve as it is.
    if ((shown.statusShort & ErrorBit) || shown.unit == unit_)
        return;
    clear();
    unit_ = shown.unit;
    valueAxis_->setTitleText(unit_);
}

void TrendChart::clear()
{
    values_->clear();
    events_->clear();
    lastLimits_ = 0;
    clock_.invalidate();
    fitAxes(0);
}

void TrendChart::dropOldPoints(double now)
{
    for (QXYSeries* series : {static_cast<QXYSeries*>(values_), static_cast<QXYSeries*>(events_)}) {
        int old = 0;
        while (old < series->count() && series->at(old).x() < now - ShownSeconds)
            ++old;
        if (old > 0)
            series->removePoints(0, old);
    }
}

void TrendChart::fitAxes(double now)
{
    const double from = std::max(0.0, now - ShownSeconds);
    const double to = std::max(now, 10.0);
    timeAxis_->setRange(from, to);
    timeAxis_->setTickInterval(timeStep(to - from));
    const QList<QPointF> points = values_->points();
    if (points.isEmpty()) {
        valueAxis_->setRange(0, 1);
        return;
    }
    const auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                                 [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
    const double span = std::max(high->y() - low->y(), std::max(std::abs(high->y()) * 0.01, 1e-6));
    valueAxis_->setRange(low->y() - span * Margin, high->y() + span * Margin);
}

QString TrendChart::csv() const
{
    QString text = QStringLiteral("Temps (s);") + unit_ + QStringLiteral("\r\n");
    for (const QPointF& point : values_->points())
        text += QString::number(point.x(), 'f', 3) + ';' + QString::number(point.y(), 'g', 7) + QStringLiteral("\r\n");
    return text;
}

bool TrendChart::saveCsv(const QString& path) const
{
    QFile file(path);
    const QByteArray bytes = csv().toUtf8();
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool TrendChart::savePng(const QString& path) const { return view_->grab().save(path, "PNG"); }

int TrendChart::pointCount() const { return int(values_->count()); }

int TrendChart::eventCount() const { return int(events_->count()); }

void TrendChart::save(const QString& title, const QString& filter, const QString& suffix, bool png)
{
    QFileDialog dialog(this, title, GetUserProfileFolder(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!(png ? savePng(path) : saveCsv(path)))
        ShowMessage(host_, QStringLiteral("Erreur lors de l'enregistrement du fichier '") + path + QStringLiteral("' !"),
                    msg::Warning);
}

void TrendChart::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* pause = menu.addAction(paused_ ? QStringLiteral("Reprendre") : QStringLiteral("Pause"));
    menu.addSeparator();
    QAction* png = menu.addAction(QStringLiteral("Enregistrer l'image (PNG)..."));
    QAction* csvFile = menu.addAction(QStringLiteral("Enregistrer les valeurs (CSV)..."));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == pause)
        setPaused(!paused_);
    else if (chosen == png)
        save(png->text(), QStringLiteral("Image PNG (*.png)"), QStringLiteral("png"), true);
    else if (chosen == csvFile)
        save(csvFile->text(), QStringLiteral("Valeurs CSV (*.csv)"), QStringLiteral("csv"), false);
}
