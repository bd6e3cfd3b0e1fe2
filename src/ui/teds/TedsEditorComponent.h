#pragma once
#include "device/TedsEditor.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>

struct AppCore;

// The program's own TEDS editor component: it shows frmTEDS, modal over `parent`,
// for the sensor handed over by AddTEDS, and starts with the device's TEDS.
class TedsEditorComponent : public TedsEditor {
public:
    TedsEditorComponent(AppCore& core, QWidget* parent) : core_(core), parent_(parent) {}

    int32_t AddTEDS(int16_t& channel, QString& sensorId, QString& deviceName, int32_t& userLevel, QString& text1,
                    QString& text2) override;
    void EditTEDS(TEDSHelper& helper) override;

private:
    AppCore& core_;
    QPointer<QWidget> parent_;
    QString deviceName_;
    int32_t userLevel_ = 0;
};

// Registers the component under TedsEditorName.
void RegisterTedsEditor(TedsEditorRegistry& registry, AppCore& core, QWidget* parent);
