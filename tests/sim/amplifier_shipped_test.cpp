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

// The amplifier answers on every bus at its node ID, and says so in its bus address parameters.
TEST_P(ShippedDescription, BusAddressesAreTheNodeId)
{
    auto amplifier = SimAmplifier::load(path(), testIdentity());
    ASSERT_TRUE(amplifier);
    for (const char* address : {"Interface/CANNodeID", "Interface/ProfibusAddress", "Interface/DeviceNetMacID"}) {
        const auto entry = amplifier->entryByPath(QLatin1String(address));
        ASSERT_TRUE(entry) << address;
        QByteArray bytes;
        ASSERT_EQ(amplifier->readObject(entry->key.index, entry->key.sub, bytes), 0u) << address;
        EXPECT_EQ(bytes, QByteArray(1, char(Node))) << address;
    }
}

// A mapping change of the valid transmit PDO 1: refused until PDO operation is switched
// off; then count 0, the entries, then the count, all as 4-byte writes.
TEST_P(ShippedDescription, TakesAPredefinedMappingWhilePdoOperationIsOff)
{
    auto amplifier = SimAmplifier::load(path(), testIdentity());
    ASSERT_TRUE(amplifier);
    const auto count = amplifier->keyOfPath(QStringLiteral("PDO/Mappings/Send1"));
    const auto allow = amplifier->keyOfPath(QStringLiteral("PDO/AllowOperational"));
    ASSERT_TRUE(count && allow);
    const uint32_t items[] = {570425888, 570426144};  // "NetValueAndStatus"
    EXPECT_EQ(amplifier->writeObject(count->index, count->sub, le32(0)), sdoabort::ValueRange);
    EXPECT_EQ(amplifier->writeObject(allow->index, allow->sub, bytes({0})), 0u);
    EXPECT_EQ(amplifier->writeObject(count->index, count->sub, le32(0)), 0u);
    EXPECT_EQ(amplifier->writeObject(count->index, count->sub + 1, le32(items[0])), 0u);
    EXPECT_EQ(amplifier->writeObject(count->index, count->sub + 2, le32(items[1])), 0u);
    EXPECT_EQ(amplifier->writeObject(count->index, count->sub, le32(2)), 0u);
    EXPECT_EQ(amplifier->writeObject(allow->index, allow->sub, bytes({1})), 0u);
    EXPECT_EQ(readOk(*amplifier, count->index, count->sub), bytes({2}));
    EXPECT_EQ(readOk(*amplifier, count->index, 2), le32(items[1]));
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedDescription, ::testing::Values("QSG2.xml", "QSN2.xml"));

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
