// Starting the TEDS editor for a device.
#include "device/TedsOperations.h"

#include "core/Host.h"
#include "core/xml/XmlFiles.h"
#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "device/TedsEditor.h"
#include "device/TedsHelper.h"
#include "transport/AppState.h"

#include <exception>

namespace {

// Tells the device to accept a TEDS it does not recognize, while the editor runs.
constexpr int32_t kTedsCheckOff = 0x4D52574B;
constexpr int32_t kTedsCheckOn = 0;

QString storedText(XmlNode parameters, const QString& path)
{
    XmlNode element;
    return Conf_GetNode(path, parameters, element) < 0 ? QString() : element.text();
}

struct EditorRun {
    AppState& state;
    const TedsEditorRegistry& editors;
    int32_t deviceIndex;
    XmlNode parameters;
    int32_t userLevel;
    QString text1;
    QString text2;
};

void runEditor(EditorRun& run)
{
    TEDSHelper helper(run.state);
    helper.SetDeviceInfo(run.deviceIndex);
    const std::unique_ptr<TedsEditor> editor = run.editors.create(TedsEditorName);
    if (!editor) {
        ShowMessage(*run.state.core.host, QStringLiteral("L'éditeur TEDS n'a pas été installé !"), msg::Information);
        return;
    }
    int16_t channel = 0;
    QString sensorId = storedText(run.parameters, tedspath::SensorId);
    QString deviceName = storedText(run.parameters, QStringLiteral("Common/DeviceName"));
    editor->AddTEDS(channel, sensorId, deviceName, run.userLevel, run.text1, run.text2);
    editor->EditTEDS(helper);
}

// Writes to a TEDS parameter of the device's description; nothing when it has none.
template <typename Write>
void writeTedsParameter(AppState& state, DeviceEntry& entry, const QString& path, Write write)
{
    XmlNode node;
    if (deviceaccess::findParameter(state, entry, path, node) >= 0)
        write(node);
}

// Switches the device's TEDS check off for its lifetime: on again on every way out of
// the editor, a failing one included.
class CheckSwitchedOff {
public:
    CheckSwitchedOff(AppState& state, DeviceEntry& entry) : state_(state), entry_(entry) { set(kTedsCheckOff); }
    ~CheckSwitchedOff()
    {
        try {
            set(kTedsCheckOn);
        } catch (const std::exception&) {
            // Nothing more to do for the device than the write just tried.
        }
    }
    CheckSwitchedOff(const CheckSwitchedOff&) = delete;
    CheckSwitchedOff& operator=(const CheckSwitchedOff&) = delete;

private:
    void set(int32_t value)
    {
        // The editor runs either way and tells what it cannot read.
        writeTedsParameter(state_, entry_, tedspath::Check, [&](XmlNode node) {
            static_cast<void>(Device_SetLong(state_, state_.CurrentInterface, entry_, node, value));
        });
    }

    AppState& state_;
    DeviceEntry& entry_;
};

void runEditorWithoutCheck(EditorRun& run, DeviceEntry& entry)
{
    AppState& state = run.state;
    const CheckSwitchedOff checkOff(state, entry);
    writeTedsParameter(state, entry, tedspath::HasTeds, [&](XmlNode node) {
        static_cast<void>(Device_SetByte(state, state.CurrentInterface, entry, node, 1));  // as the check above
    });
    runEditor(run);
}

}  // namespace

void Device_EditTEDS(AppState& state, const TedsEditorRegistry& editors, int32_t deviceIndex,
                     XmlNode parameters, int32_t userLevel, const QString& text1, const QString& text2,
                     Host* panel)
{
    Host& host = *state.core.host;
    try {
        DeviceEntry& entry = state.Devices.at(size_t(deviceIndex));
        const InterfaceSettings& settings = state.CurrentInterface;
        EditorRun run{state, editors, deviceIndex, parameters, userLevel, text1, text2};
        // A read that fails counts as no TEDS, and then as no sensor.
        uint8_t hasTeds = 0;
        if (Device_GetByte(state, settings, entry, tedspath::HasTeds, hasTeds, panel) >= 0 && hasTeds != 0) {
            runEditor(run);
            return;
        }
        // A status word means a sensor is there, only its TEDS is not recognized.
        int32_t status = 0;
        if (Device_GetLong(state, settings, entry, QStringLiteral("Measurement/StatusLong"), status, panel) < 0 ||
            status == 0) {
            ShowMessage(host, QStringLiteral("Aucun TEDS n'a été raccordé !"), msg::Information);
            return;
        }
        runEditorWithoutCheck(run, entry);
    } catch (const std::exception& failure) {
        ShowMessage(host,
                    QStringLiteral("Erreur lors de l'ouverture de l'éditeur TEDS : '") +
                        QString::fromUtf8(failure.what()) + '\'',
                    msg::Warning);
    }
}
