// DeviceSetValue: the configuration's values written to the amplifiers on the four kinds.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "sim/SdoTarget.h"
#include "transport/dpv1_fixture.h"

#include <cstring>

namespace devicetest {
namespace {

QByteArray floatBytes(float value)
{
    QByteArray bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

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
    {"Amplifier/NominalLoad", "12,5", rc::Ok, floatBytes(12.5f)},
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
    QString configured(const QString& path) const { return DeviceWorld::elementAt(parameters, path).text(); }

    DeviceEntry entry;
    XmlNode parameters;
};

TEST_P(AccessWrite, ConfiguredValuesReachTheAmplifier)
{
    for (const WriteCase& c : kWrites) {
        const QString path = QString::fromLatin1(c.path);
        DeviceWorld::configure(parameters, path, c.configured);
        EXPECT_EQ(setValue(path), c.result) << c.path;
        EXPECT_EQ(world.stored(path).toHex(), c.onDevice.toHex()) << c.path;
    }
    EXPECT_EQ(world.traffic().writes, int(kWrites.size()));
    EXPECT_TRUE(world.host().messages.empty());
}

TEST_P(AccessWrite, ChannelNameNamesTheEntryWithoutItsBlanks)
{
    DeviceWorld::configure(parameters, QStringLiteral("Common/ChannelName"), QStringLiteral("  Presse 9"));
    EXPECT_EQ(setValue(QStringLiteral("Common/ChannelName")), rc::Ok);
    EXPECT_EQ(entry.Name, QStringLiteral("Presse 9"));
    EXPECT_EQ(world.stored(QStringLiteral("Common/ChannelName")), QByteArray("  Presse 9      "));
}

TEST_P(AccessWrite, EmptyToggleIsRefusedAndNothingIsWritten)
{
    const QByteArray before = world.stored(QStringLiteral("ZeroTare/AutoZeroTracking"));
    DeviceWorld::configure(parameters, QStringLiteral("ZeroTare/AutoZeroTracking"), QString());
    EXPECT_EQ(setValue(QStringLiteral("ZeroTare/AutoZeroTracking")), rc::ValueNotSet);
    EXPECT_EQ(world.traffic().writes, 0);
    EXPECT_EQ(world.stored(QStringLiteral("ZeroTare/AutoZeroTracking")), before);
    EXPECT_EQ(world.host().texts(),
              QStringList{QStringLiteral(
                  "DeviceSetValue(): ZeroTare/AutoZeroTracking : La valeur souhaitée ne peut pas être ajustée")});
    // Read back: the document holds the device's value again.
    EXPECT_EQ(configured(QStringLiteral("ZeroTare/AutoZeroTracking")),
              before == le(1, 1) ? QStringLiteral("true") : QStringLiteral("false"));
}

TEST_P(AccessWrite, HexTextOfNoByteIsNotSent)
{
    const QByteArray before = world.stored(QStringLiteral("Common/UserData"));
    for (const QString& text : {QString(), QStringLiteral("7")}) {
        DeviceWorld::configure(parameters, QStringLiteral("Common/UserData"), text);
        EXPECT_EQ(setValue(QStringLiteral("Common/UserData")), rc::Ok) << text.toStdString();
    }
    EXPECT_EQ(world.traffic().writes, 0);
    EXPECT_EQ(world.stored(QStringLiteral("Common/UserData")), before);
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
        const QByteArray before = world.stored(path);
        for (bool quiet : {false, true}) {
            DeviceWorld::configure(parameters, path, QString::fromLatin1(c.configured));
            EXPECT_EQ(setValue(path, quiet), rc::Refused) << c.path;
            EXPECT_NE(configured(path), QString::fromLatin1(c.configured)) << c.path << ": read back";
        }
        EXPECT_EQ(world.stored(path), before) << c.path;
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
        DeviceWorld::configure(parameters, QString::fromLatin1(c.path), QStringLiteral("1"));
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

// A value the device refuses: one message, and the document back at the device's value.
struct RefusalCase {
    int32_t kind;
    uint32_t abortCode;
    int32_t result;
    QString text;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << kindName(c.kind); }

class AccessWriteRefused : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(AccessWriteRefused, RefusedWriteShowsOneMessageAndReadsTheValueBack)
{
    const QString path = QStringLiteral("Scaling/DecimalPointPos");
    DeviceWorld world(GetParam().kind);
    world.put(path, le(2, 1));
    world.amplifier().refuseAt(SimDirection::Write, *world.amplifier().keyOfPath(path), GetParam().abortCode);
    DeviceEntry entry = world.openEntry();
    const XmlNode parameters = world.newConfiguration();

    for (bool quiet : {false, true}) {
        DeviceWorld::configure(parameters, path, QStringLiteral("5"));
        EXPECT_EQ(DeviceSetValue(world.state(), world.settings(), entry, parameters, path, nullptr, quiet),
                  GetParam().result);
        const XmlNode element = DeviceWorld::elementAt(parameters, path);
        EXPECT_EQ(element.text(), QStringLiteral("2"));
        EXPECT_FALSE(element.hasAttribute("Status"));
    }
    EXPECT_EQ(world.stored(path), le(2, 1));
    ASSERT_EQ(world.host().messages.size(), 1u);
    EXPECT_EQ(world.host().messages[0].text, QStringLiteral("DeviceSetValue(): ") + path + QStringLiteral(" : ") +
                                                 GetParam().text);
    EXPECT_EQ(world.host().messages[0].style, msg::Warning);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, AccessWriteRefused,
    ::testing::Values(RefusalCase{CANBus, sdoabort::ValueRange, rc::CanSdoAbort, ValueRangeAbortText},
                      RefusalCase{PROFIBUS, sdoabort::ValueRange, rc::ValueNotSet,
                                  QStringLiteral("La valeur souhaitée ne peut pas être ajustée")},
                      RefusalCase{DeviceNet, sdoabort::ReadOnly, rc::ReadOnly,
                                  QStringLiteral("Ce paramètre peut être lu uniquement !")},
                      // The device's -7 is no refusal by a check: it has had no message yet.
                      RefusalCase{PROFIBUS, sdoabort::DeviceState, rc::Refused, QStringLiteral("Erreur inconnue -7")}),
    [](const auto& info) { return kindName(info.param.kind) + "_" + std::to_string(-info.param.result); });

TEST(AccessWriteBitMask, RefusedMaskAlsoShowsTheBusWords)
{
    const QString path = QStringLiteral("LimitSwitches/EnableMask");
    DeviceWorld world(CANBus);
    world.amplifier().refuseAt(SimDirection::Write, *world.amplifier().keyOfPath(path), sdoabort::ValueRange);
    DeviceEntry entry = world.openEntry();
    const XmlNode parameters = world.newConfiguration();
    DeviceWorld::configure(parameters, path, QStringLiteral("3"));
    EXPECT_EQ(DeviceSetValue(world.state(), world.settings(), entry, parameters, path, nullptr, false),
              rc::CanSdoAbort);
    EXPECT_EQ(world.host().texts(),
              (QStringList{QStringLiteral("Erreur lors de la mise du paramètre 'LimitSwitches/EnableMask': Erreur "
                                          "de bus CAN ! (-16503)"),
                           QStringLiteral("DeviceSetValue(): LimitSwitches/EnableMask : ") + ValueRangeAbortText}));
}

// Writing a group: the members that are written, and what the group reports.
struct GroupCase {
    const char* name;
    std::vector<std::pair<const char*, uint32_t>> refusals;
    int32_t result;
    QStringList messages;
};

void PrintTo(const GroupCase& c, std::ostream* os) { *os << c.name; }

class AccessWriteGroup : public ::testing::TestWithParam<GroupCase> {};

TEST_P(AccessWriteGroup, WritesEveryStoredWritableMemberAndReportsTheLastFailure)
{
    DeviceWorld world(PROFIBUS);
    for (const auto& [path, abortCode] : GetParam().refusals)
        world.amplifier().refuseAt(SimDirection::Write, *world.amplifier().keyOfPath(QString::fromLatin1(path)),
                                   abortCode);
    DeviceEntry entry = world.openEntry();
    const XmlNode parameters = world.newConfiguration();
    const std::pair<const char*, const char*> configured[] = {
        {"Common/ChannelName", "Gauche"},       {"Common/CalibrationDate", "2023-06-01"},
        {"Common/UserData", "0102"},            {"Common/ParameterLock", "true"},
        {"Common/Password", "secret"},          {"Common/DeviceType", "7"},
        {"Common/SerialNumber", "999"},
    };
    for (const auto& [path, text] : configured)
        DeviceWorld::configure(parameters, QString::fromLatin1(path), QString::fromLatin1(text));

    EXPECT_EQ(DeviceSetValue(world.state(), world.settings(), entry, parameters, QStringLiteral("Common"), nullptr,
                             false),
              GetParam().result);

    // Read-only and not stored members are skipped; the others are all tried, in order.
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
    EXPECT_EQ(world.host().texts(), GetParam().messages);
    EXPECT_EQ(entry.Name, QStringLiteral("Gauche"));
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, AccessWriteGroup,
    ::testing::Values(
        GroupCase{"None", {}, rc::Ok, {}},
        GroupCase{"ReadOnlyMemberDoesNotFail",
                  {{"Common/ChannelName", sdoabort::ReadOnly}},
                  rc::Ok,
                  {QStringLiteral("DeviceSetValue(): Common/ChannelName : Ce paramètre peut être lu uniquement !")}},
        GroupCase{"OneFailure",
                  {{"Common/CalibrationDate", sdoabort::UnsupportedAccess}},
                  rc::AccessDenied,
                  {QStringLiteral("DeviceSetValue(): Common/CalibrationDate : L'accès au paramètre a été refusé !")}},
        GroupCase{"LastFailureWins",
                  {{"Common/CalibrationDate", sdoabort::UnsupportedAccess}, {"Common/UserData", sdoabort::ValueRange}},
                  rc::ValueNotSet,
                  {QStringLiteral("DeviceSetValue(): Common/CalibrationDate : L'accès au paramètre a été refusé !"),
                   QStringLiteral("DeviceSetValue(): Common/UserData : La valeur souhaitée ne peut pas être ajustée")}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace devicetest
