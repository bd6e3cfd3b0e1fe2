#pragma once
#include "measure/MeasureTick.h"

#include <QElapsedTimer>
#include <QWidget>

class Host;
class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

// The measured value over the last minutes under the value label: the unit on the
// value axis, the changes of the limit switches marked as points. Fed by the
// measurement tick (it reads nothing itself). A right click pauses or resumes it
// and saves the shown curve as PNG or CSV.
class TrendChart : public QWidget {
    Q_OBJECT

public:
    static constexpr double ShownSeconds = 300;

    // host: the message when a file cannot be saved.
    explicit TrendChart(Host& host, QWidget* parent = nullptr);

    // One tick's value now (seconds since the trend began), or at a time in seconds.
    // An error sample leaves no point; while paused nothing is taken. A value of
    // another unit than the shown ones clears the curve first.
    void addSample(const TickDisplay& shown);
    void addSample(double seconds, const TickDisplay& shown);
    // Empties the curve; the next value taken now is at 0 s.
    void clear();
    bool paused() const { return paused_; }
    void setPaused(bool paused) { paused_ = paused; }

    // The shown curve: "Temps (s);<unit>" then one "time;value" line per point.
    QString csv() const;
    bool saveCsv(const QString& path) const;
    bool savePng(const QString& path) const;
    int pointCount() const;
    int eventCount() const;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void takeUnit(const TickDisplay& shown);
    void dropOldPoints(double now);
    void fitAxes(double now);

    void save(const QString& title, const QString& filter, const QString& suffix, bool png);

    Host& host_;
    QChart* chart_ = nullptr;
    QChartView* view_ = nullptr;
    QLineSeries* values_ = nullptr;
    QScatterSeries* events_ = nullptr;
    QValueAxis* timeAxis_ = nullptr;
    QValueAxis* valueAxis_ = nullptr;
    QElapsedTimer clock_;
    QString unit_;
    uint8_t lastLimits_ = 0;
    bool paused_ = false;
};
