#pragma once
#include "measure/MeasureTick.h"

#include <QObject>
#include <QString>

class Host;
class QComboBox;
class QGroupBox;
class QLabel;
class QWidget;
class TrendChart;

// What the device state display shows, taken from the main window's state.
struct DeviceStateView {
    bool connected = false;
    bool measuring = false;
    QString recordingPath;    // empty when no recording runs
    TedsState teds;           // the last TEDS state
    int16_t signal = 1;       // 1 net, 0 gross
};

// The main window's measurement frame ("FrameMeas": value label, signal chooser,
// recording and TEDS images, limit and range lamps, the trend) and digital I/O frame
// ("FrameDIO"). It paints what a tick shows and reports double clicks and the
// signal choice; it reads no device.
class MeasurementFrames : public QObject {
    Q_OBJECT

public:
    // host: the trend's messages; parent: the window that holds both frames.
    MeasurementFrames(Host& host, QWidget* parent);

    QGroupBox* measurementFrame() const { return FrameMeas_; }
    QGroupBox* digitalFrame() const { return FrameDIO_; }
    QLabel* valueLabel() const { return LabelMeasVal_; }
    TrendChart* trend() const { return trend_; }

    // The value, its colour and every lamp.
    void paint(const TickDisplay& shown);
    // The value label's text in the neutral colour ("Arrêté", "Non raccordé", "").
    void showText(const QString& text);
    // The device state display: signal choice, value label, recording and TEDS images.
    void showState(const DeviceStateView& view);

signals:
    void deviceStatusRequested();      // double click on the value label
    void tedsImageDoubleClicked();     // "ImageHasTEDS"
    void tedsStateDoubleClicked();     // "ImageTEDSState"
    void recordingDoubleClicked();     // "ImageRecording"
    void signalChosen(int16_t signal); // 1 net, 0 gross

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMeasurementFrame(QWidget* parent);
    void buildDigitalFrame(QWidget* parent);
    void setLamp(const QString& name, const QString& image);
    void setValueColours(const QColor& text);

    QGroupBox* FrameMeas_ = nullptr;
    QGroupBox* FrameDIO_ = nullptr;
    QLabel* LabelMeasVal_ = nullptr;
    QComboBox* ComboMeasSignal_ = nullptr;
    QLabel* ImageRecording_ = nullptr;
    QLabel* ImageHasTEDS_ = nullptr;
    QLabel* ImageTEDSState_ = nullptr;
    TrendChart* trend_ = nullptr;
};

// The image name a lamp label shows (its "imageName" property).
QString lampImage(const QWidget& root, const QString& lampName);
