// The run-time choice of the PROFIBUS and DeviceNet libraries: a plug-in named in the
// settings, or the simulated masters serving a rack.
#include "core/Settings.h"
#include "device/BusSetup.h"
#include "fieldbus_fixture.h"
#include "sim/devicenet/SimDeviceNetMaster.h"
#include "transport/devicenet/DnetTransport.h"
#include "transport/devicenet/PluginDeviceNetLibrary.h"
#include "transport/profibus/PluginProfibusLibrary.h"

using namespace dpv1test;

namespace {

const QString kPlugin = QStringLiteral(QUELBRIN_TEST_PROFIBUS_PLUGIN);

class BusSetupTest : public Dpv1Test {
protected:
    void configure(const QString& key, const QString& value)
    {
        if (!world.state.core.SettingsDocument)
            AppConf_Create(world.state.core);
        ASSERT_GE(AppConf_SetValue(world.state.core, key, value), 0);
    }
};

TEST_F(BusSetupTest, APluginCarriesTheTransportsCalls)
{
    configure(QStringLiteral("Plugins/PROFIBUS"), kPlugin);
    Bus_CreateLibraries(world.state, &rack);
    ASSERT_NE(dynamic_cast<PluginProfibusLibrary*>(world.state.buses.profibus.get()), nullptr);
    EXPECT_NE(dynamic_cast<SimDeviceNetMaster*>(world.state.buses.devicenet.get()), nullptr);
    EXPECT_TRUE(world.host.messages.empty());

    ProfibusDiag diag{};
    EXPECT_EQ(world.state.buses.profibus->c2Init({profibus::HilscherMaster, 0}, diag), 0);
    EXPECT_STREQ(diag.data(), "test plug-in: card open");

    settings.PType = profibus::SiemensMaster;
    EXPECT_EQ(DPV1_OpenCard(world.state, settings), rc::ProfibusInvalidBoard);
    world.host.messages.clear();
    settings.PType = profibus::HilscherMaster;
    ASSERT_EQ(DPV1_OpenCard(world.state, settings), rc::Ok);

    std::vector<DeviceEntry> found;
    EXPECT_EQ(DPV1_Scan(world.state, settings, found), 2);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[1].Address, 9);
    EXPECT_EQ(found[2].Address, 5);

    ASSERT_EQ(DPV1_ConnectStation(world.state, settings, 5), rc::Ok);
    EXPECT_EQ(DPV1_ConnectStation(world.state, settings, 6), rc::ProfibusTimeout);
    int32_t preset = 0;
    EXPECT_EQ(DPV1_ReadInt32(world.state, settings, 5, parameter("Common/VendorID"), preset), rc::Ok);
    EXPECT_EQ(uint32_t(preset), 0x51E0B1A5u);

    EXPECT_EQ(DPV1_WriteFloat(world.state, settings, 5, parameter("Amplifier/NominalLoad"), -2.5f), rc::Ok);
    float load = 0;
    EXPECT_EQ(DPV1_ReadFloat(world.state, settings, 5, parameter("Amplifier/NominalLoad"), load), rc::Ok);
    EXPECT_EQ(load, -2.5f);

    EXPECT_EQ(DPV1_WriteString(world.state, settings, 5, 0, 11, QStringLiteral("via plug-in")), rc::Ok);
    QString text;
    EXPECT_EQ(DPV1_ReadString(world.state, settings, 5, 11, 0, text, 16), 11);
    EXPECT_EQ(text, "via plug-in");
    EXPECT_EQ(DPV1_ReadString(world.state, settings, 9, 11, 0, text, 16), rc::AccessDenied);

    // A whole TEDS block: more than a length byte could say.
    QByteArray block(256, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = char(255 - i);
    EXPECT_EQ(DPV1_WriteBytes(world.state, settings, 5, 1, 133, block, 256), rc::Ok);
    QByteArray back;
    int32_t length = 300;
    EXPECT_EQ(DPV1_ReadBytes(world.state, settings, 5, parameter("TEDS/TEDSBlock"), back, length), 256);
    EXPECT_EQ(back, block);
    DPV1_CloseCard(world.state, settings);
}

TEST_F(BusSetupTest, APluginThatDoesNotLoadFallsBackToTheSimulation)
{
    const QString missing = world.file(QStringLiteral("libnothing.so"));
    configure(QStringLiteral("Plugins/PROFIBUS"), missing);
    // A PROFIBUS plug-in has no DeviceNet entry.
    configure(QStringLiteral("Plugins/DeviceNet"), kPlugin);
    Bus_CreateLibraries(world.state, &rack);

    EXPECT_NE(dynamic_cast<SimProfibusMaster*>(world.state.buses.profibus.get()), nullptr);
    EXPECT_NE(dynamic_cast<SimDeviceNetMaster*>(world.state.buses.devicenet.get()), nullptr);
    ASSERT_EQ(world.host.messages.size(), 2u);
    const QString profibus = world.host.messages[0].text;
    EXPECT_TRUE(profibus.startsWith(QStringLiteral("La bibliothèque PROFIBUS '") + missing +
                                    QStringLiteral("' n'a pas pu être chargée : ")))
        << profibus.toStdString();
    EXPECT_TRUE(profibus.endsWith(QStringLiteral(". La simulation est utilisée."))) << profibus.toStdString();
    EXPECT_EQ(world.host.messages[1].text,
              QStringLiteral("La bibliothèque DeviceNet '") + kPlugin +
                  QStringLiteral("' n'a pas pu être chargée : la fonction quelbrin_devicenet_plugin manque. "
                                 "La simulation est utilisée."));
    for (const auto& message : world.host.messages)
        EXPECT_EQ(message.style, msg::Warning);

    std::vector<DeviceEntry> found;
    ASSERT_EQ(DPV1_OpenCard(world.state, settings), rc::Ok);
    EXPECT_EQ(DPV1_Scan(world.state, settings, found), 3);
}

}  // namespace
