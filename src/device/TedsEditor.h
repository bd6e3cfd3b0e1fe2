#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class TEDSHelper;

// The TEDS editor component: it decodes, shows and edits a sensor's TEDS and reaches
// the device through the assistant's TEDSHelper.
class TedsEditor {
public:
    virtual ~TedsEditor() = default;
    // Hands over the sensor and the device before the editor runs; every argument is
    // the editor's to read or change. The result is not used.
    virtual int32_t AddTEDS(int16_t& channel, QString& sensorId, QString& deviceName, int32_t& userLevel,
                            QString& text1, QString& text2) = 0;
    // Runs the editor, modal for the assistant.
    virtual void EditTEDS(TEDSHelper& helper) = 0;
};

// The name the assistant creates its TEDS editor by.
inline const QString TedsEditorName = QStringLiteral("TEDS_Editor.TEDSClass");

// Editor components by name, registered by whoever ships one.
class TedsEditorRegistry {
public:
    using Factory = std::function<std::unique_ptr<TedsEditor>()>;

    void add(const QString& name, Factory factory);
    // A new component, or null when none is registered under the name.
    std::unique_ptr<TedsEditor> create(const QString& name) const;

private:
    std::map<QString, Factory> factories_;
};

// The components installed in this program, registered at its start.
TedsEditorRegistry& InstalledTedsEditors();
