#include "sim/amplifier_fixture.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/SdoFrames.h"
#include "transport/can_sim_rack.h"

#include <QFile>
#include <bit>
#include <utility>
#include <gtest/gtest.h>

namespace amptest {

namespace {

// One parameter element: kind, name, SDO index/sub and extra children.
QByteArray param(const char* kind, const char* name, int index, int sub, const char* extra = "")
{
    return QStringLiteral("<%1><Name>%2</Name>%5<Communication><SDO><Index>%3</Index><Sub>%4</Sub></SDO>"
                          "</Communication></%1>\n")
        .arg(QLatin1String(kind), QLatin1String(name))
        .arg(index)
        .arg(sub)
        .arg(QLatin1String(extra))
        .toUtf8();
}

QByteArray group(const char* name, const QByteArray& members)
{
    return "<ParameterGroup><Name>" + QByteArray(name) + "</Name><Members>\n" + members
           + "</Members></ParameterGroup>\n";
}

QByteArray enumItems(std::initializer_list<int> codes)
{
    QByteArray items = "<Enumeration>";
    for (int code : codes)
        items += "<EnumItem><Code>" + QByteArray::number(code) + "</Code><Value>" + QByteArray::number(code * 10)
                 + "</Value><Description><en>c</en></Description></EnumItem>";
    return items + "</Enumeration>";
}

QByteArray commonGroup()
{
    return group("Common",
                 param("ParameterEnumString", "VendorID", 0x1018, 1,
                       ("<Width>32</Width><AccessMode>RO</AccessMode>" + enumItems({858})).constData())
                     + param("ParameterEnumString", "ProductID", 4120, 2,
                             ("<Width>32</Width><AccessMode>RO</AccessMode>" + enumItems({77, 78})).constData())
                     + param("ParameterValueString", "SerialNumber", 0x2001, 0,
                             "<MinLen>10</MinLen><MaxLen>10</MaxLen><AccessMode>RO</AccessMode>")
                     + param("ParameterValueString", "ChannelName", 0x2002, 0, "<MinLen>8</MinLen>")
                     + param("ParameterValueString", "Comment", 0x2003, 0, "<MaxLen>5</MaxLen>")
                     + param("ParameterValueString", "FreeText", 0x2004, 0)
                     + param("ParameterValueDate", "CalibrationDate", 0x2005, 0,
                             "<BaseDate>2000-01-01</BaseDate><MaxValue>2010-01-01</MaxValue>")
                     + param("ParameterValueHexBinary", "UserData", 0x2006, 0, "<MaxLen>16</MaxLen>")
                     + param("ParameterValueHexBinary", "Blob", 0x2007, 0)
                     + param("ParameterValueString", "Password", 0x2008, 0,
                             "<MinLen>4</MinLen><AccessMode>WO</AccessMode><Persistent>false</Persistent>")
                     + "<ParameterValueLong><Name>Unaddressed</Name></ParameterValueLong>\n"
                     + param("ParameterMystery", "Mystery", 0x2009, 0));
}

QByteArray settingsGroup()
{
    return group(
        "Settings",
        param("ParameterValueByte", "Level", 0x2100, 1, "<MinValue>1</MinValue><MaxValue>200</MaxValue>")
            + param("ParameterValueShort", "Offset", 0x2100, 2, "<MinValue>-1000</MinValue><MaxValue>1000</MaxValue>")
            + param("ParameterValueLong", "Count", 0x2100, 3, "<MinValue>-100000</MinValue><MaxValue>100000</MaxValue>")
            + param("ParameterValueLongFloat", "Sensitivity", 0x2100, 4,
                    "<MinValue>500</MinValue><MaxValue>4000</MaxValue><DecimalPointPos>3</DecimalPointPos>")
            + param("ParameterValueFloat", "Gain", 0x2100, 5, "<MinValue>-10</MinValue><MaxValue>10.5</MaxValue>")
            + param("ParameterToggle", "Enabled", 0x2100, 6)
            + param("ParameterEnumString", "Mode", 0x2100, 7, ("<Width>8</Width>" + enumItems({0, 1, 5})).constData())
            + param("ParameterEnumString", "Rate", 0x2100, 8, ("<Width>16</Width>" + enumItems({100, 40000})).constData())
            + param("ParameterEnumString", "Unit", 0x2100, 9, ("<Width>32</Width>" + enumItems({7, 70000})).constData())
            + param("ParameterEnumFloat", "Filter", 0x2100, 10, enumItems({2, 4, 6}).constData())
            + param("ParameterBitMask", "Flags8", 0x2100, 11, "<Width>8</Width>")
            + param("ParameterBitMask", "Flags32", 0x2100, 12, "<Width>32</Width>")
            + param("ParameterValueByte", "Volatile", 0x2100, 13, "<Persistent>false</Persistent>")
            + param("ParameterValueLong", "Fixed", 0x2100, 14, "<AccessMode>RO</AccessMode>"));
}

QByteArray measurementGroups()
{
    const char* ro = "<AccessMode>RO</AccessMode><Persistent>false</Persistent>";
    const char* ro8 = "<Width>8</Width><AccessMode>RO</AccessMode><Persistent>false</Persistent>";
    const char* ro32 = "<Width>32</Width><AccessMode>RO</AccessMode><Persistent>false</Persistent>";
    const char* action = "<Value>1</Value><AccessMode>WO</AccessMode>";
    return group("Measurement", param("ParameterValueFloat", "ValueGros", 0x2200, 1, ro)
                                    + param("ParameterValueFloat", "ValueNet", 0x2200, 2, ro)
                                    + param("ParameterBitMask", "StatusLong", 0x2200, 3, ro32)
                                    + param("ParameterBitMask", "StatusShort", 0x2200, 4, ro8)
                                    + param("ParameterValueFloat", "PeakMax", 0x2200, 6, ro)
                                    + param("ParameterValueFloat", "PeakMin", 0x2200, 7, ro)
                                    + param("ParameterActionByte", "ResetPeak", 0x2200, 8, action)
                                    + param("ParameterBitMask", "CommandWord", 0x2200, 9,
                                            "<Width>8</Width><Persistent>false</Persistent>"))
           + group("ZeroTare", param("ParameterActionByte", "Zero", 0x2400, 0, action)
                                   + param("ParameterValueLongFloat", "ZeroOffset", 0x2401, 0,
                                           "<MinValue>-80000</MinValue><MaxValue>80000</MaxValue>"
                                           "<DecimalPointPos>4</DecimalPointPos>")
                                   + param("ParameterActionByte", "Tare", 0x2402, 0, action)
                                   + param("ParameterValueLongFloat", "TareOffset", 0x2403, 0,
                                           "<DecimalPointPos>3</DecimalPointPos>")
                                   + param("ParameterActionByte", "ClearTare", 0x2404, 0, action))
           + group("LimitSwitches",
                   param("ParameterBitMask", "EnableMask", 0x2600, 1, "<Width>8</Width>")
                       + param("ParameterBitMask", "State", 0x2600, 2, ro8)
                       + group("LimitSwitch1",
                               param("ParameterEnumString", "Source", 0x2601, 1,
                                     ("<Width>8</Width>" + enumItems({0, 1, 2, 3})).constData())
                                   + param("ParameterEnumString", "Direction", 0x2601, 2,
                                           ("<Width>8</Width>" + enumItems({0, 1})).constData())
                                   + param("ParameterValueFloat", "OnLevel", 0x2601, 3))
                       + group("LimitSwitch2",
                               param("ParameterEnumString", "Direction", 0x2602, 2,
                                     ("<Width>8</Width>" + enumItems({0, 1})).constData())
                                   + param("ParameterValueFloat", "OnLevel", 0x2602, 3)))
           + group("DigitalIO", param("ParameterBitMask", "InputOutputLevel", 0x2700, 1, ro32));
}

QByteArray tedsAndStoreGroups()
{
    const char* store = "<Value>1702257011</Value><AccessMode>WO</AccessMode>";
    return group("TEDS", param("ParameterToggle", "HasTEDS", 0x2800, 0, "<Persistent>false</Persistent>")
                             + param("ParameterToggle", "TEDSActive", 0x2801, 0, "<AccessMode>RO</AccessMode>")
                             + param("ParameterBitMask", "TEDSErrorStatus", 0x2802, 0,
                                     "<Width>32</Width><AccessMode>RO</AccessMode>")
                             + param("ParameterValueHexBinary", "TEDSBlock", 0x2803, 0,
                                     "<MaxLen>256</MaxLen><Persistent>false</Persistent>")
                             + param("ParameterValueHexBinary", "SensorID", 0x2804, 0,
                                     "<MaxLen>8</MaxLen><AccessMode>RO</AccessMode>")
                             + param("ParameterActionByte", "ActivateTEDS", 0x2805, 0, "<Value>1</Value>")
                             + param("ParameterToggle", "AutoActivate", 0x2807, 0))
           + group("PDO", param("ParameterToggle", "AllowOperational", 0x2F00, 1, "<Persistent>false</Persistent>")
                              + group("Mappings", param("ParameterValueByte", "Send1", 0x1A00, 0,
                                                  "<AccessMode>RO</AccessMode><Persistent>false</Persistent>")
                                                + param("ParameterValueLong", "SendParametersCANId1", 0x1800, 1,
                                                        "<AccessMode>RO</AccessMode>")
                                                + param("ParameterValueByte", "SendParametersTransferMode1",
                                                        0x1800, 2, "<MinValue>0</MinValue><MaxValue>255</MaxValue>")
                                                + param("ParameterActionLong", "SaveComm", 0x1010, 2, store)
                                                + param("ParameterActionLong", "FactorySettingsComm", 0x1011, 2,
                                                        "<Value>1684107116</Value>"))
                              + "<SequenceConstLong><Name>Known</Name><Items><Item>1</Item></Items>"
                                "</SequenceConstLong>\n")
           + group("ApplicationObjects",
                   param("ParameterToggle", "Changed", 0x2E01, 0, "<AccessMode>RO</AccessMode>")
                       + param("ParameterActionLong", "SaveApp", 0x1010, 3, store)
                       + param("ParameterActionByte", "Restart", 0x2E00, 0, "<Value>1</Value>"));
}

}  // namespace

QByteArray testDescription()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DeviceDescription>"
           "<Header><Vendor>ZEM</Vendor><Family>TST 1</Family></Header>\n<ParameterGroup><Members>\n"
           + commonGroup() + settingsGroup() + measurementGroups() + tedsAndStoreGroups()
           + "</Members></ParameterGroup></DeviceDescription>\n";
}

SimIdentity testIdentity()
{
    SimIdentity identity;
    identity.vendorId = Vendor;
    identity.productId = Product;
    identity.serialNumber = QStringLiteral("123456");
    identity.nodeId = Node;
    return identity;
}

TestAmplifier::TestAmplifier()
{
    QFile file(descriptionPath());
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(testDescription());
    file.close();
    QString reason;
    amplifier_ = SimAmplifier::load(descriptionPath(), testIdentity(), &reason);
    EXPECT_TRUE(amplifier_) << reason.toStdString();
}

QString TestAmplifier::descriptionPath() const { return folder_.filePath(QStringLiteral("TST1.xml")); }

void PrintTo(const TimedFrame& heard, std::ostream* os)
{
    *os << heard.ms << " ms: ";
    PrintTo(heard.frame, os);
}

TestCanRack::TestCanRack(std::initializer_list<uint8_t> nodes)
{
    const QString path = folder_.filePath(QStringLiteral("TST1.xml"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(testDescription());
    file.close();
    std::vector<SimRackEntry> entries;
    for (uint8_t id : nodes) {
        SimIdentity identity = testIdentity();
        identity.nodeId = id;
        entries.push_back({path, identity});
    }
    QString reason;
    EXPECT_EQ(rack_.build(entries, &reason), rc::Ok) << reason.toStdString();
    rack_.setTimeSource([this] { return bus.clock().nowMs(); });
    listener_ = bus.addListener([this](const CanFrame& frame) { heard_.push_back({bus.clock().nowMs(), frame}); });
    servers_ = std::make_unique<CanRackServers>(bus, rack_);
}

TestCanRack::~TestCanRack()
{
    servers_.reset();
    bus.removeListener(listener_);
}

void TestCanRack::nmt(uint8_t command, uint8_t node)
{
    bus.send(CanFrame::make(sdo::NmtId, {command, node}));
}

uint32_t TestCanRack::download(uint8_t node, uint16_t index, uint8_t sub, const QByteArray& data)
{
    const uint16_t response = sdo::ResponseBase + node;
    heard_.clear();
    bus.send(sdo::expeditedFrame(sdo::RequestBase + node, sdo::ccs::InitiateDownload, {index, sub}, data));
    for (const TimedFrame& heard : heard_) {
        if (heard.frame.id == response)
            return sdo::commandOf(heard.frame) == sdo::Abort ? sdo::abortCodeOf(heard.frame) : 0;
    }
    ADD_FAILURE() << "no answer from node " << int(node);
    return sdoabort::Timeout;
}

std::vector<TimedFrame> TestCanRack::takeAll()
{
    return std::exchange(heard_, {});
}

std::vector<TimedFrame> TestCanRack::take(uint16_t base)
{
    std::vector<TimedFrame> taken;
    for (const TimedFrame& heard : takeAll()) {
        if (heard.frame.id > base && heard.frame.id <= base + 0x7F)
            taken.push_back(heard);
    }
    return taken;
}

QByteArray readOk(SimAmplifier& amplifier, uint16_t index, uint8_t sub)
{
    QByteArray data;
    const uint32_t abort = amplifier.readObject(index, sub, data);
    EXPECT_EQ(abort, 0u) << std::hex << index << "/" << int(sub);
    return data;
}

uint32_t readUnsigned(SimAmplifier& amplifier, uint16_t index, uint8_t sub)
{
    const QByteArray data = readOk(amplifier, index, sub);
    uint32_t value = 0;
    for (int i = data.size() - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(data[i]);
    return value;
}

float readFloat(SimAmplifier& amplifier, uint16_t index, uint8_t sub)
{
    return std::bit_cast<float>(readUnsigned(amplifier, index, sub));
}

}  // namespace amptest
