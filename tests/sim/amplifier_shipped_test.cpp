// Amplifiers built from the shipped descriptions (copied beside the test
// executables) and the demo rack of the built-in simulation.
#include "core/ResultCodes.h"
#include "core/xml/XmlDocument.h"
#include "sim/amplifier/DescriptionReader.h"
#include "sim/amplifier/SimRack.h"
#include "sim/amplifier_fixture.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace amptest;

namespace {

const QString Folder = QStringLiteral("DeviceDescription");
constexpr uint32_t ZemVendor = 858;
constexpr uint32_t QsgProduct = 5308417;
constexpr uint32_t QsnProduct = 5373953;

class ShippedDescription : public ::testing::TestWithParam<const char*> {
protected:
    QString path() const { return Folder + QLatin1Char('/') + QLatin1String(GetParam()); }
};

// Every addressed parameter is an entry, and its DPV1 and DeviceNet addresses lead to it.
TEST_P(ShippedDescription, EveryAddressReachesItsParameter)
{
    ASSERT_TRUE(QFileInfo::exists(path())) << path().toStdString();
    auto amplifier = SimAmplifier::load(path(), testIdentity());
    ASSERT_TRUE(amplifier);
    XmlDocument document;
    ASSERT_TRUE(document.load(path(), QString(), nullptr));
    const auto addressed = document.documentElement().selectAll(QStringLiteral("//*[Communication/SDO/Index]"));
    ASSERT_GT(addressed.size(), 80u);
    for (const XmlNode& node : addressed) {
        const XmlNode communication = node.child("Communication");
        const ObjectKey key{static_cast<uint16_t>(*parseDescriptionInteger(communication.child("SDO").childText("Index"))),
                            static_cast<uint8_t>(*parseDescriptionInteger(communication.child("SDO").childText("Sub")))};
        const QString name = node.childText("Name");
        EXPECT_TRUE(amplifier->entryAt(key)) << name.toStdString();
        const XmlNode dpv1 = communication.child("DPV1");
        if (!dpv1.isNull()) {
            EXPECT_EQ(amplifier->keyOfDpv1(dpv1.childText("SlotNumber").toUShort(), dpv1.childText("Index").toUShort()),
                      key)
                << name.toStdString();
        }
        const XmlNode dnet = communication.child("DeviceNet");
        if (!dnet.isNull()) {
            EXPECT_EQ(amplifier->keyOfDeviceNet(dnet.childText("Class").toUShort(), dnet.childText("Instance").toUShort(),
                                                dnet.childText("Attribute").toUShort()),
                      key)
                << name.toStdString();
        }
    }
}

TEST_P(ShippedDescription, KnownParametersHaveTheirWidths)
{
    auto amplifier = SimAmplifier::load(path(), testIdentity());
    ASSERT_TRUE(amplifier);
    const struct {
        const char* path;
        int width;
        int padLength;
    } cases[] = {
        {"Common/VendorID", 4, 0},        {"Common/SerialNumber", 0, 10}, {"Common/DeviceName", 0, 16},
        {"Common/CalibrationDate", 2, 0}, {"Measurement/ValueGros", 4, 0}, {"Measurement/StatusShort", 1, 0},
        {"Measurement/StatusLong", 4, 0}, {"Amplifier/Filter", 1, 0},      {"Scaling/PhysicalUnit", 1, 0},
        {"ApplicationObjects/SaveApp", 4, 0}, {"ApplicationObjects/Restart", 1, 0},
    };
    for (const auto& c : cases) {
        const auto entry = amplifier->entryByPath(QLatin1String(c.path));
        ASSERT_TRUE(entry) << c.path;
        EXPECT_EQ(entry->width, c.width) << c.path;
        EXPECT_EQ(entry->padLength, c.padLength) << c.path;
    }
}

// The PDO window's sequence: count 0, the entries, then the count, all as 4-byte writes.
TEST_P(ShippedDescription, TakesAPredefinedMappingAsThePdoWindowWritesIt)
{
    auto amplifier = SimAmplifier::load(path(), testIdentity());
    ASSERT_TRUE(amplifier);
    const auto count = amplifier->keyOfPath(QStringLiteral("PDO/Mappings/Send1"));
    ASSERT_TRUE(count);
    const uint32_t items[] = {570425888, 570426144};  // "NetValueAndStatus"
    EXPECT_EQ(amplifier->writeObject(count->index, count->sub, le32(0)), 0u);
    EXPECT_EQ(amplifier->writeObject(count->index, count->sub + 1, le32(items[0])), 0u);
    EXPECT_EQ(amplifier->writeObject(count->index, count->sub + 2, le32(items[1])), 0u);
    EXPECT_EQ(amplifier->writeObject(count->index, count->sub, le32(2)), 0u);
    EXPECT_EQ(readOk(*amplifier, count->index, count->sub), bytes({2}));
    EXPECT_EQ(readOk(*amplifier, count->index, 2), le32(items[1]));
}

TEST_P(ShippedDescription, StoresAndRestartsWithTheStoredChannelName)
{
    auto amplifier = SimAmplifier::load(path(), testIdentity());
    ASSERT_TRUE(amplifier);
    const auto name = *amplifier->keyOfPath(QStringLiteral("Common/ChannelName"));
    const auto save = *amplifier->keyOfPath(QStringLiteral("ApplicationObjects/SaveApp"));
    const auto restart = *amplifier->keyOfPath(QStringLiteral("ApplicationObjects/Restart"));
    const auto changed = *amplifier->keyOfPath(QStringLiteral("ApplicationObjects/Changed"));
    ASSERT_EQ(amplifier->writeObject(name.index, name.sub, QByteArray("Waage 1         ")), 0u);
    EXPECT_EQ(readOk(*amplifier, changed.index, changed.sub), bytes({1}));
    ASSERT_EQ(amplifier->writeObject(save.index, save.sub, le32(1702257011)), 0u);
    EXPECT_EQ(readOk(*amplifier, changed.index, changed.sub), bytes({0}));
    ASSERT_EQ(amplifier->writeObject(name.index, name.sub, QByteArray("Waage 2")), 0u);
    ASSERT_EQ(amplifier->writeObject(restart.index, restart.sub, bytes({1})), 0u);
    EXPECT_TRUE(amplifier->isSilent());
    amplifier->advance(3000);
    EXPECT_EQ(readOk(*amplifier, name.index, name.sub), QByteArray("Waage 1         "));
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedDescription, ::testing::Values("QSG2.xml", "QSN2.xml"));

TEST(DemoRack, ServesThreeAmplifiersOfBothFamilies)
{
    SimRack rack;
    QString reason;
    ASSERT_EQ(buildDemoRack(rack, Folder, &reason), rc::Ok) << reason.toStdString();
    EXPECT_EQ(rack.nodeIds(), (std::vector<uint8_t>{3, 17, 42}));
    const struct {
        uint8_t node;
        uint32_t product;
        QByteArray serial;
        QByteArray name;
        bool teds;
    } cases[] = {
        {3, QsgProduct, "100003", "ZEM QSG 2", true},
        {17, QsnProduct, "100017", "ZEM QSN 2", false},
        {42, QsgProduct, "100042", "ZEM QSG 2", true},
    };
    for (const auto& c : cases) {
        SimAmplifier& amplifier = *rack.node(c.node);
        EXPECT_EQ(amplifier.nodeId(), c.node);
        EXPECT_EQ(readOk(amplifier, 0x1018, 1), le32(ZemVendor));
        EXPECT_EQ(readOk(amplifier, 0x1018, 2), le32(c.product));
        EXPECT_EQ(readOk(amplifier, 0x1018, 4), le32(c.serial.toUInt()));
        EXPECT_EQ(readOk(amplifier, 0x2001, 0), c.serial + QByteArray(10 - c.serial.size(), '\0'));
        const QByteArray name = readOk(amplifier, 0x1008, 0);
        EXPECT_EQ(name, c.name + QByteArray(16 - c.name.size(), '\0'));
        EXPECT_EQ(readOk(amplifier, 0x2100, 1), bytes({c.node}));  // Interface/CANNodeID
        QByteArray data;
        EXPECT_EQ(amplifier.readObject(0x2803, 0, data) == 0, c.teds) << int(c.node);
    }
    EXPECT_FALSE(rack.node(4));
    rack.advance(5000);
    EXPECT_EQ(rack.node(17)->now(), 5000);
}

TEST(DemoRack, ReportsWhatCannotBeBuilt)
{
    SimRack rack;
    QString reason;
    EXPECT_EQ(buildDemoRack(rack, QStringLiteral("/nonexistent"), &reason), rc::MissingDocument);
    EXPECT_TRUE(reason.startsWith(QLatin1String("/nonexistent/QSG2.xml: ")));
    EXPECT_EQ(rack.size(), 0u);

    std::vector<SimRackEntry> twice = demoRackEntries(Folder);
    twice[1].identity.nodeId = 3;
    EXPECT_EQ(rack.build(twice, &reason), rc::Failed);
    EXPECT_EQ(reason, QStringLiteral("node ID 3 given twice"));
    EXPECT_EQ(rack.nodeIds(), std::vector<uint8_t>{3});
}

}  // namespace
