// Starting the TEDS editor: which device state lets it start, and what it is given.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/TedsEditor.h"
#include "device/TedsHelper.h"
#include "device/TedsOperations.h"
#include "model/Configuration.h"
#include "transport/AppState.h"

#include <stdexcept>

using namespace devicetest;

namespace {

constexpr int32_t TedsCheckOff = 0x4D52574B;

struct EditorCall {
    int16_t channel = -1;
    QString sensorId;
    QString deviceName;
    int32_t userLevel = -1;
    QString text1;
    QString text2;
    bool ran = false;
    // Seen on the amplifier while the editor ran.
    int32_t checkWhileEditing = -1;
    bool hasTedsWhileEditing = false;
    QByteArray blockRead;
};

int32_t tedsCheck(SimAmplifier& amplifier)
{
    const auto entry = amplifier.entryByPath(tedspath::Check);
    if (!entry || entry->value.size() != 4)
        return -1;
    int32_t value = 0;
    std::memcpy(&value, entry->value.constData(), 4);
    return value;
}

// An editor that reads the block through the helper, as a real one starts.
class RecordingEditor : public TedsEditor {
public:
    RecordingEditor(EditorCall& call, SimAmplifier& amplifier, bool fail)
        : call_(call), amplifier_(amplifier), fail_(fail) {}

    int32_t AddTEDS(int16_t& channel, QString& sensorId, QString& deviceName, int32_t& userLevel, QString& text1,
                    QString& text2) override
    {
        call_.channel = channel;
        call_.sensorId = sensorId;
        call_.deviceName = deviceName;
        call_.userLevel = userLevel;
        call_.text1 = text1;
        call_.text2 = text2;
        return 0;
    }

    void EditTEDS(TEDSHelper& helper) override
    {
        if (fail_)
            throw std::runtime_error("fenêtre indisponible");
        call_.ran = true;
        call_.checkWhileEditing = tedsCheck(amplifier_);
        call_.hasTedsWhileEditing = amplifier_.hasTeds();
        static_cast<void>(helper.ReadTEDS(0, call_.blockRead));  // the block read is what the tests compare
    }

private:
    EditorCall& call_;
    SimAmplifier& amplifier_;
    bool fail_;
};

TEST(TedsEditor, StartsForADeviceWithASensor)
{
    enum class Sensor { WithTeds, NoTedsQuiet, NoTedsWithStatus };
    const struct {
        const char* what;
        Sensor sensor;
        bool registered;
        bool editorFails;
        QStringList messages;
        bool edited;
        int32_t checkWhileEditing;
    } cases[] = {
        {"TEDS recognized", Sensor::WithTeds, true, false, {}, true, 0},
        {"no editor installed", Sensor::WithTeds, false, false, {"L'éditeur TEDS n'a pas été installé !"}, false, -1},
        {"no TEDS, nothing measured", Sensor::NoTedsQuiet, true, false, {"Aucun TEDS n'a été raccordé !"}, false,
         -1},
        {"no TEDS but a status: check off while editing", Sensor::NoTedsWithStatus, true, false, {}, true,
         TedsCheckOff},
        {"the editor fails", Sensor::WithTeds, true, true,
         {"Erreur lors de l'ouverture de l'éditeur TEDS : 'fenêtre indisponible'"}, false, -1},
        {"the editor fails with the check off", Sensor::NoTedsWithStatus, true, true,
         {"Erreur lors de l'ouverture de l'éditeur TEDS : 'fenêtre indisponible'"}, false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceWorld world(CANBus);
        world.connectDevice(3);
        SimAmplifier& amplifier = world.amplifier(3);
        if (c.sensor != Sensor::WithTeds)
            amplifier.setTedsBlock({});
        if (c.sensor == Sensor::NoTedsWithStatus)
            world.put(QStringLiteral("Scaling/DecimalPointPos"), le(3, 1));  // a changed configuration shows in the status

        EditorCall call;
        int created = 0;
        TedsEditorRegistry editors;
        if (c.registered)
            editors.add(TedsEditorName, [&] {
                ++created;
                return std::make_unique<RecordingEditor>(call, amplifier, c.editorFails);
            });
        const XmlNode parameters = Conf_Parameters(world.state().Configuration.get());
        Device_EditTEDS(world.state(), editors, 1, parameters, 3, QStringLiteral("cellule"), QStringLiteral("valeur"),
                        &world.host());

        EXPECT_EQ(world.host().texts(), c.messages);
        if (!c.messages.isEmpty()) {
            EXPECT_EQ(world.host().messages[0].style,
                      c.editorFails ? msg::Warning : msg::Information);
        }
        EXPECT_EQ(call.ran, c.edited);
        if (c.edited) {
            EXPECT_EQ(call.channel, 0);
            EXPECT_EQ(call.sensorId, world.element(QStringLiteral("TEDS/SensorID")).text());
            EXPECT_EQ(call.deviceName, world.element(QStringLiteral("Common/DeviceName")).text());
            EXPECT_FALSE(call.deviceName.isEmpty());
            EXPECT_EQ(call.userLevel, 3);
            EXPECT_EQ(call.text1, "cellule");
            EXPECT_EQ(call.text2, "valeur");
            EXPECT_TRUE(call.hasTedsWhileEditing);
            EXPECT_EQ(call.blockRead, amplifier.tedsBlock()) << "the helper serves the device edited";
        }
        EXPECT_EQ(call.checkWhileEditing, c.checkWhileEditing);
        EXPECT_EQ(created, c.sensor == Sensor::NoTedsQuiet || !c.registered ? 0 : 1);
        if (c.sensor == Sensor::NoTedsWithStatus) {
            EXPECT_EQ(tedsCheck(amplifier), 0) << "the check is on again after the editor";
        }
    }
}

}  // namespace
