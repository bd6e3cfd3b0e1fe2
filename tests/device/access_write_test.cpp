// DeviceSetValue: the configuration's values written to the amplifiers on the four kinds.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "sim/SdoTarget.h"


namespace devicetest {
namespace {

struct WriteCase {
    const char* path;
    QString configured;
    int32_t result;
    QByteArray onDevice;
};

const std::vector<WriteCase> kWrites = {
    {"Scaling/DecimalPointPos", "4", rc::Ok, le(4, 1)},
    {"LimitSwitches/LimitSwitch1/Delay", "2499.5", rc::Ok, le(2500, 2)},
    {"ZeroTare/TareOffset", "-7000", rc::Ok, le(-7000, 4)},
    {"Amplifier/NominalLoad", "12,5", rc::Ok, littleEndian<float>(12.5f)},
    {"Common/CalibrationDate", "2024-01-01", rc::Ok, le(8766, 2)},
    {"ZeroTare/AutoZeroTracking", "true", rc::Ok, le(1, 1)},
    {"ZeroTare/ZeroOnPowerUp", "false", rc::Ok, le(0, 1)},
    {"LimitSwitches/EnableMask", "6", rc::Ok, le(6, 1)},
    {"Common/UserData", "0AFF12", rc::Ok, QByteArray::fromHex("0aff12")},
    {"Amplifier/ExcitationVoltage", "2", rc::Ok, le(2, 1)},
    {"Amplifier/Filter", "5", rc::Ok, le(5, 1)},
    {"Amplifier/MeasuringRange", "1", rc::ReloadComplete, le(1, 1)},
    // A string of fixed length is padded with blanks, or cut, to exactly "MinLen".
    {"Common/ChannelName", "ab", rc::Ok, "ab              "},
    {"Common/ChannelName", "Mesure de force 12", rc::Ok, "Mesure de force "},
};

class AccessWrite : public KindTest {
protected:
    AccessWrite() : entry(world.openEntry()), parameters(world.newConfiguration()) {}

    int32_t setValue(const QString& path, bool quiet = false)
    {
        return DeviceSetValue(world.state(), world.settings(), entry, parameters, path, nullptr, quiet);
    }
    QString configured(const QString& path) const { return world.element(path).text(); }

    DeviceEntry entry;
    XmlNode parameters;
};

TEST_P(AccessWrite, ConfiguredValuesReachTheAmplifier)
{
    for (const WriteCase& c : kWrites) {
        const QString path = QString::fromLatin1(c.path);
        world.configure(path, c.configured);
        EXPECT_EQ(setValue(path), c.result) << c.path;
        EXPECT_EQ(world.onDevice(path).toHex(), c.onDevice.toHex()) << c.path;
    }
    EXPECT_EQ(world.traffic().writes, int(kWrites.size()));
    EXPECT_TRUE(world.host().messages.empty());
}

TEST_P(AccessWrite, EmptyToggleIsRefusedAndNothingIsWritten)
{
    const QByteArray before = world.onDevice(QStringLiteral("ZeroTare/AutoZeroTracking"));
    world.configure(QStringLiteral("ZeroTare/AutoZeroTracking"), QString());
    EXPECT_EQ(setValue(QStringLiteral("ZeroTare/AutoZeroTracking")), rc::ValueNotSet);
    EXPECT_EQ(world.traffic().writes, 0);
    EXPECT_EQ(world.onDevice(QStringLiteral("ZeroTare/AutoZeroTracking")), before);
    EXPECT_EQ(world.host().texts(),
              QStringList{QStringLiteral(
                  "DeviceSetValue(): ZeroTare/AutoZeroTracking : La valeur souhaitée ne peut pas être ajustée")});
    // Read back: the document holds the device's value again.
    EXPECT_EQ(configured(QStringLiteral("ZeroTare/AutoZeroTracking")),
              before == le(1, 1) ? QStringLiteral("true") : QStringLiteral("false"));
}

TEST_P(AccessWrite, HexTextOfNoByteIsNotSent)
{
    const QByteArray before = world.onDevice(QStringLiteral("Common/UserData"));
    for (const QString& text : {QString(), QStringLiteral("7")}) {
        world.configure(QStringLiteral("Common/UserData"), text);
        EXPECT_EQ(setValue(QStringLiteral("Common/UserData")), rc::Ok) << text.toStdString();
    }
    EXPECT_EQ(world.traffic().writes, 0);
    EXPECT_EQ(world.onDevice(QStringLiteral("Common/UserData")), before);
}

// A number its bus type cannot carry is not sent cut to its width: refused, one
// message, and the document back at the device's value.
TEST_P(AccessWrite, NumbersBeyondTheirBusTypeAreRefusedUnsent)
{
    const QString range = QStringLiteral("La valeur%1 est en-dehors de l'étendue de valeurs valide %2... %3");
    const struct {
        const char* path;
        const char* configured;
        QString message;
    } cases[] = {
        {"Scaling/DecimalPointPos", "300", range.arg(300).arg(0).arg(255)},
        {"LimitSwitches/EnableMask", "511", range.arg(511).arg(0).arg(255)},
        {"Scaling/ScalingSource", "256", range.arg(256).arg(0).arg(255)},
        {"LimitSwitches/LimitSwitch1/Delay", "40000", range.arg(40000).arg(-32768).arg(32767)},
        {"Common/CalibrationDate", "2100-01-01", range.arg(36525).arg(-32768).arg(32767)},
    };
    for (const auto& c : cases) {
        const QString path = QString::fromLatin1(c.path);
        const QByteArray before = world.onDevice(path);
        for (bool quiet : {false, true}) {
            world.configure(path, QString::fromLatin1(c.configured));
            EXPECT_EQ(setValue(path, quiet), rc::Refused) << c.path;
            EXPECT_NE(configured(path), QString::fromLatin1(c.configured)) << c.path << ": read back";
        }
        EXPECT_EQ(world.onDevice(path), before) << c.path;
        EXPECT_EQ(world.host().texts(), QStringList{c.message}) << c.path;
        world.host().messages.clear();
    }
    EXPECT_EQ(world.traffic().writes, 0);
}

TEST_P(AccessWrite, ReadOnlyParametersAreLeftAloneOrRefusedByKind)
{
    struct Case {
        const char* path;
        int32_t result;
    };
    // Plain values are skipped; enumerations and bit masks say they are read-only.
    const Case cases[] = {{"Common/SerialNumber", rc::Ok},
                          {"Common/DeviceType", rc::Ok},
                          {"Common/VendorID", rc::ReadOnly},
                          {"Measurement/StatusShort", rc::ReadOnly}};
    for (const Case& c : cases) {
        world.configure(QString::fromLatin1(c.path), QStringLiteral("1"));
        EXPECT_EQ(setValue(QString::fromLatin1(c.path), true), c.result) << c.path;
    }
    EXPECT_EQ(world.traffic().writes, 0);
    EXPECT_TRUE(world.host().messages.empty());
    // The refused ones were read back from the device.
    EXPECT_EQ(configured(QStringLiteral("Common/VendorID")), QStringLiteral("858"));
    EXPECT_EQ(configured(QStringLiteral("Common/SerialNumber")), QStringLiteral("1"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, AccessWrite, ::testing::ValuesIn(AllKinds),
                         [](const auto& info) { return kindName(info.param); });

// The words for the abort a device answers a value out of its range with.
const QString ValueRangeAbortText =
    QStringLiteral("Erreur CiA : 'Error class 6, error 9, additional code 30 (hex)\r\n"
                   "Description :Surveillance de l'étendue de mesure dépassée'");

// A value the device refuses: one message (a bit mask has the bus's words first), and
// the document back at the device's value.
TEST(AccessWriteRefused, RefusedWriteShowsOneMessageAndReadsTheValueBack)
{
    const QString decimals = QStringLiteral("Scaling/DecimalPointPos");
    const QString mask = QStringLiteral("LimitSwitches/EnableMask");
    const QString head = QStringLiteral("DeviceSetValue(): %1 : ");
    const struct {
        int32_t kind;
        QString path;
        uint32_t abortCode;
        int32_t result;
        QStringList messages;
    } cases[] = {
        {CANBus, decimals, sdoabort::ValueRange, rc::CanSdoAbort, {head.arg(decimals) + ValueRangeAbortText}},
        {PROFIBUS, decimals, sdoabort::ValueRange, rc::ValueNotSet,
         {head.arg(decimals) + QStringLiteral("La valeur souhaitée ne peut pas être ajustée")}},
        {DeviceNet, decimals, sdoabort::ReadOnly, rc::ReadOnly,
         {head.arg(decimals) + QStringLiteral("Ce paramètre peut être lu uniquement !")}},
        // The device's -7 is no refusal by a check: it has had no message yet.
        {PROFIBUS, decimals, sdoabort::DeviceState, rc::Refused, {head.arg(decimals) + QStringLiteral("Erreur inconnue -7")}},
        {CANBus, mask, sdoabort::ValueRange, rc::CanSdoAbort,
         {QStringLiteral("Erreur lors de la mise du paramètre 'LimitSwitches/EnableMask': Erreur de bus CAN ! (-16503)"),
          head.arg(mask) + ValueRangeAbortText}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kindName(c.kind) + " " + c.path.toStdString() + " " + std::to_string(c.result));
        DeviceWorld world(c.kind);
        world.put(c.path, le(2, 1));
        world.amplifier().refuseAt(SimDirection::Write, *world.amplifier().keyOfPath(c.path), c.abortCode);
        DeviceEntry entry = world.openEntry();
        const XmlNode parameters = world.newConfiguration();
        for (bool quiet : {false, true}) {
            world.configure(c.path, QStringLiteral("5"));
            EXPECT_EQ(DeviceSetValue(world.state(), world.settings(), entry, parameters, c.path, nullptr, quiet),
                      c.result);
            EXPECT_EQ(world.element(c.path).text(), QStringLiteral("2"));
            EXPECT_FALSE(world.element(c.path).hasAttribute("Status"));
        }
        EXPECT_EQ(world.onDevice(c.path), le(2, 1));
        EXPECT_EQ(world.host().texts(), c.messages);
        EXPECT_EQ(world.host().messages.back().style, msg::Warning);
    }
}

// Writing a group: every stored writable member is tried, in order; read-only and not
// stored members are skipped; the group reports the last failure.
TEST(AccessWriteGroup, WritesEveryStoredWritableMemberAndReportsTheLastFailure)
{
    const QString denied =
        QStringLiteral("DeviceSetValue(): Common/CalibrationDate : L'accès au paramètre a été refusé !");
    const struct {
        std::vector<std::pair<const char*, uint32_t>> refusals;
        int32_t result;
        QStringList messages;
    } cases[] = {
        {{}, rc::Ok, {}},
        {{{"Common/ChannelName", sdoabort::ReadOnly}},
         rc::Ok,
         {QStringLiteral("DeviceSetValue(): Common/ChannelName : Ce paramètre peut être lu uniquement !")}},
        {{{"Common/CalibrationDate", sdoabort::UnsupportedAccess}}, rc::AccessDenied, {denied}},
        {{{"Common/CalibrationDate", sdoabort::UnsupportedAccess}, {"Common/UserData", sdoabort::ValueRange}},
         rc::ValueNotSet,
         {denied,
          QStringLiteral("DeviceSetValue(): Common/UserData : La valeur souhaitée ne peut pas être ajustée")}},
    };
    const std::pair<const char*, const char*> configured[] = {
        {"Common/ChannelName", "  Gauche"}, {"Common/CalibrationDate", "2023-06-01"}, {"Common/UserData", "0102"},
        {"Common/ParameterLock", "true"}, {"Common/Password", "secret"},           {"Common/DeviceType", "7"},
        {"Common/SerialNumber", "999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        DeviceWorld world(PROFIBUS);
        for (const auto& [path, abortCode] : c.refusals)
            world.amplifier().refuseAt(SimDirection::Write, *world.amplifier().keyOfPath(QString::fromLatin1(path)),
                                       abortCode);
        DeviceEntry entry = world.openEntry();
        const XmlNode parameters = world.newConfiguration();
        for (const auto& [path, text] : configured)
            world.configure(QString::fromLatin1(path), QString::fromLatin1(text));

        EXPECT_EQ(DeviceSetValue(world.state(), world.settings(), entry, parameters, QStringLiteral("Common"),
                                 nullptr, false),
                  c.result);
        std::vector<std::pair<int, int>> written;
        for (const auto& call : world.profibus()->calls) {
            if (call.name.rfind("Write", 0) == 0)
                written.emplace_back(call.slot, call.index);
        }
        std::vector<std::pair<int, int>> expected;
        for (const char* path : {"Common/ChannelName", "Common/CalibrationDate", "Common/UserData"}) {
            uint8_t slot = 0;
            uint8_t index = 0;
            EXPECT_EQ(DPV1_GetAddress(world.parameter(QString::fromLatin1(path)), slot, index), rc::Ok) << path;
            expected.emplace_back(slot, index);
        }
        EXPECT_EQ(written, expected);
        EXPECT_EQ(world.host().texts(), c.messages);
        EXPECT_EQ(entry.Name, QStringLiteral("Gauche")) << "the channel name names the entry, without its blanks";
    }
}

// A device the net lost during a whole write ends it: the members after the one that
// found it gone are neither sent nor told about.
TEST(AccessWriteGroup, ADeviceLostEndsTheWholeWrite)
{
    DeviceWorld world(CANBus);
    DeviceEntry& entry = world.connectDevice();
    world.amplifier().setSilent(true);
    world.host().messages.clear();
    EXPECT_EQ(DeviceSetValue(world.state(), world.settings(), entry, world.element(QStringLiteral(".")),
                             QStringLiteral("."), nullptr, false),
              rc::CanTimeout);
    EXPECT_EQ(world.host().texts(),
              (QStringList{"DeviceSetValue(): Common/ChannelName : Timeout!",
                           "Le nombre maximal de tentatives de mesure a été dépassé !\r\nMessage d'erreur : Erreur de "
                           "bus CAN : Timeout\r\n\r\nTous les appareils sont déconnectés."}));
}

}  // namespace
}  // namespace devicetest
