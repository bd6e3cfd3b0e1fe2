// Connecting a device: the whole configuration read, the firmware message, and the
// failures a user sees once.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceSession.h"
#include "model/Configuration.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "transport/profibus/Dpv1Transport.h"

using namespace devicetest;

namespace {

const QString ConnectFailed = QStringLiteral("Erreur lors du raccordement à l'appareil : ");

// The document holds what the amplifier holds, as text, for every kind of parameter it
// keeps; actions and values the device does not keep have no element.
TEST(Connect, ReadsTheWholeConfiguration)
{
    const struct {
        const char* path;
        QByteArray put;  // into the amplifier first
        const char* text;
    } kept[] = {
        {"Common/VendorID", {}, "858"},
        {"Common/ProductID", {}, "5308417"},
        {"Common/SerialNumber", {}, "100003"},
        {"Common/ChannelName", "Links", "Links"},
        {"Common/RequiredAssistantVersion", {}, "0"},
        {"Common/CalibrationDate", le(8766, 2), "2024-01-01"},
        {"Common/ParameterLock", le(1, 1), "true"},
        {"Amplifier/NominalLoad", littleEndian<float>(250.5f), "250.5"},
        {"Amplifier/ExcitationVoltage", le(2, 1), "2"},
        {"Amplifier/Filter", le(5, 1), "5"},
        {"ZeroTare/AutoZeroTracking", le(1, 1), "true"},
        {"ZeroTare/TareOffset", le(-5000, 4), "-5000"},
        {"Scaling/DecimalPointPos", le(3, 1), "3"},
        {"LimitSwitches/LimitSwitch1/Delay", le(1234, 2), "1234"},
        {"LimitSwitches/EnableMask", le(5, 1), "5"},
    };
    const char* notKept[] = {"Common/Password", "Measurement/ValueNet", "ZeroTare/Zero", "ApplicationObjects/SaveApp",
                             "PDO/SendMappingsKnown/NetValue"};
    for (int32_t bus : AllKinds) {
        SCOPED_TRACE(kindName(bus));
        DeviceWorld world(bus);
        for (const auto& c : kept) {
            if (!c.put.isEmpty())
                world.put(QString::fromLatin1(c.path), c.put);
        }
        DeviceEntry entry = world.entry();
        XmlNode parameters;
        ASSERT_EQ(Device_Connect(world.state(), world.settings(), entry, parameters, &world.host()), rc::Ok);
        EXPECT_TRUE(world.host().messages.empty()) << world.host().texts().join('\n').toStdString();
        EXPECT_TRUE(entry.Online);
        EXPECT_EQ(parameters, Conf_Parameters(world.state().Configuration.get()));
        EXPECT_TRUE(parameters.selectAll(QStringLiteral(".//*[@Status]")).empty());
        EXPECT_GT(parameters.selectAll(QStringLiteral(".//*[not(*)]")).size(), 60u);
        for (const auto& c : kept)
            EXPECT_EQ(world.element(QString::fromLatin1(c.path)).text(), QString::fromLatin1(c.text)) << c.path;
        for (const char* path : notKept)
            EXPECT_FALSE(world.element(QString::fromLatin1(path))) << path;
        const QByteArray teds = world.amplifier().tedsBlock();
        // The serial line reads the block at its full described length.
        EXPECT_TRUE(
            world.element(QStringLiteral("TEDS/TEDSBlock")).text().startsWith(BytesToHex(teds, int32_t(teds.size()))));
        // Parameters of another interface are not read: the process data objects exist on CAN only.
        EXPECT_EQ(bool(world.element(QStringLiteral("PDO/AllowOperational"))), bus == CANBus);
        EXPECT_EQ(bool(world.element(QStringLiteral("Interface/HeartbeatTime"))), bus == CANBus);
        EXPECT_TRUE(world.host().statusTexts.contains("Lire l'appareil..."));
        EXPECT_EQ(world.host().statusTexts.back(), "");
    }
}

TEST(Connect, ShowsTheFirmwareMessageWhenANewerAssistantIsRequired)
{
    ASSERT_EQ(Assistant_ComparableVersion(), 100) << "version 1.0 of the project";
    const struct {
        const char* required;
        QString version;  // empty: no message
    } cases[] = {
        {"100", {}},
        {"99", {}},
        {"110", "1.10"},
        {"270", "2.70"},
        {"1005", "10.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.required);
        DeviceWorld world;
        const QString description = world.describedCopy(demorack::StrainGaugeFile,
                                                        QStringLiteral("Common/RequiredAssistantVersion"),
                                                        QStringLiteral("MinValue"), QLatin1String(c.required));
        world.open(PROFIBUS, {amplifierEntry(description, 3)});
        DeviceEntry entry = world.entry(3);
        XmlNode parameters;
        EXPECT_EQ(Device_Connect(world.state(), world.settings(), entry, parameters, &world.host()), rc::Ok);
        EXPECT_EQ(world.element(QStringLiteral("Common/RequiredAssistantVersion")).text(), QLatin1String(c.required));
        if (c.version.isEmpty()) {
            EXPECT_TRUE(world.host().messages.empty());
            continue;
        }
        ASSERT_EQ(world.host().messages.size(), 1u);
        EXPECT_EQ(world.host().messages[0].style, msg::Information);
        const QStringList lines = world.host().messages[0].text.split(QStringLiteral("\r\n"));
        ASSERT_EQ(lines.size(), 4);
        EXPECT_EQ(lines[0], "L'appareil comporte un firmware qu'éventuellement n'est pas complètement supporté "
                            "par cette version de l'Assistant.");
        EXPECT_EQ(lines[1], "Pour un support complet requiert au moins la version " + c.version +
                                " de l'Assistant.");
        EXPECT_TRUE(lines[2].endsWith(',')) << lines[2].toStdString();
        EXPECT_EQ(lines[3], "sous Support -> Téléchargements -> Logiciel. Voir aussi l'Aide Quelbrin");
    }
}

TEST(Connect, AFailedOpenIsShownOnceWithItsRealError)
{
    for (int32_t bus : {PROFIBUS, DeviceNet}) {
        SCOPED_TRACE(kindName(bus));
        DeviceWorld world(bus);
        DeviceEntry entry = world.entry(9);  // nobody there
        XmlNode parameters;
        const int32_t result = Device_Connect(world.state(), world.settings(), entry, parameters, &world.host());
        EXPECT_LT(result, 0);
        ASSERT_EQ(world.host().messages.size(), 1u);
        EXPECT_EQ(world.host().messages[0].text, ConnectFailed + DPV1_ErrorText(result));
        EXPECT_FALSE(world.host().messages[0].text.contains(DPV1_ErrorText(0)));
        EXPECT_FALSE(entry.Online);
        EXPECT_FALSE(world.state().Configuration) << "no document for a device that is not there";
        EXPECT_TRUE(parameters.isNull());
    }
}

TEST(Connect, ALoadEndedByTheBusGivingUpIsShownOnceAndStillConnects)
{
    DeviceWorld world(CANBus);
    world.amplifier(3).setSilent(true);
    DeviceEntry entry = world.entry(3);
    XmlNode parameters;
    EXPECT_EQ(Device_Connect(world.state(), world.settings(), entry, parameters, &world.host()), rc::Ok);
    // The transport names the cause when it gives the device up; the connect adds nothing.
    ASSERT_EQ(world.host().messages.size(), 1u) << world.host().texts().join('\n').toStdString();
    EXPECT_TRUE(world.host().messages[0].text.startsWith("Le nombre maximal de tentatives"));
    EXPECT_FALSE(parameters.selectAll(QStringLiteral(".//*[@Status]")).empty()) << "failed reads are marked";
}

}  // namespace
