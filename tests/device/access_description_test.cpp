// Description nodes the shipped files do not have: an unknown parameter kind, missing
// widths and lengths. They sit at the bus address of a real parameter, so that any
// transfer they cause would reach the amplifier.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "model/Descriptions.h"
#include "transport/can/SdoSync.h"
#include "transport/devicenet/DnetTransport.h"
#include "transport/profibus/Dpv1Transport.h"

namespace devicetest {
namespace {

// The "Communication" element of a shipped parameter.
QString communicationOf(XmlNode node)
{
    int32_t index = 0;
    uint8_t sub = 0;
    uint8_t slot = 0;
    uint8_t dpv1Index = 0;
    uint8_t classId = 0;
    uint8_t instance = 0;
    uint8_t attribute = 0;
    // A part that is missing stays 0 in the text.
    static_cast<void>(SDO_GetAddress(node, index, sub));
    static_cast<void>(DPV1_GetAddress(node, slot, dpv1Index));
    static_cast<void>(DNET_GetAddress(node, classId, instance, attribute));
    return QStringLiteral("<Communication><SDO><Index>%1</Index><Sub>%2</Sub></SDO>"
                          "<DPV1><SlotNumber>%3</SlotNumber><Index>%4</Index></DPV1>"
                          "<DeviceNet><Class>%5</Class><Instance>%6</Instance><Attribute>%7</Attribute></DeviceNet>"
                          "</Communication>")
        .arg(index)
        .arg(sub)
        .arg(slot)
        .arg(dpv1Index)
        .arg(classId)
        .arg(instance)
        .arg(attribute);
}

class AccessOddDescription : public KindTest {
protected:
    AccessOddDescription()
    {
        const QString byteAt = communicationOf(world.parameter(QStringLiteral("Scaling/DecimalPointPos")));
        const QString stringAt = communicationOf(world.parameter(QStringLiteral("Common/ChannelName")));
        const QString member = QStringLiteral("<%1><Name>%2</Name>%3%4</%1>");
        const QString xml =
            QStringLiteral("<DeviceDescription><ParameterGroup><Members><ParameterGroup><Name>Odd</Name><Members>") +
            member.arg(QStringLiteral("ParameterValueWeird"), QStringLiteral("Strange"), QString(), byteAt) +
            member.arg(QStringLiteral("ParameterValueByte"), QStringLiteral("Pos"), QString(), byteAt) +
            member.arg(QStringLiteral("ParameterEnumString"), QStringLiteral("NoWidth"), QString(), byteAt) +
            member.arg(QStringLiteral("ParameterBitMask"), QStringLiteral("MaskNoWidth"), QString(), byteAt) +
            member.arg(QStringLiteral("ParameterValueString"), QStringLiteral("NoMinLen"), QString(), stringAt) +
            member.arg(QStringLiteral("ParameterActionLong"), QStringLiteral("Act"), QStringLiteral("<Value>1</Value>"),
                       byteAt) +
            QStringLiteral("</Members></ParameterGroup></Members></ParameterGroup></DeviceDescription>");
        auto document = std::make_unique<XmlDocument>();
        QString reason;
        EXPECT_TRUE(document->loadFromMemory(xml.toUtf8(), &reason)) << reason.toStdString();
        const XmlNode root = document->documentElement().child("ParameterGroup");
        world.state().descriptions.push_back(std::make_unique<Description>(std::move(document), root));
        entry = world.openEntry();
        entry.DescriptionIndex = int32_t(world.state().descriptions.size() - 1);
        parameters = world.newConfiguration();
        world.put(QStringLiteral("Scaling/DecimalPointPos"), le(2, 1));
        world.clearTraffic();
    }

    int32_t setValue(const QString& path, const QString& text)
    {
        world.configure(path, text);
        return DeviceSetValue(world.state(), world.settings(), entry, parameters, path, nullptr, false);
    }

    DeviceEntry entry;
    XmlNode parameters;
};

TEST_P(AccessOddDescription, WritesThatCannotBeMadeSendNothing)
{
    EXPECT_EQ(setValue(QStringLiteral("Odd/Strange"), QStringLiteral("3")), rc::Ok);
    EXPECT_EQ(setValue(QStringLiteral("Odd/NoWidth"), QStringLiteral("3")), rc::Ok);
    EXPECT_EQ(setValue(QStringLiteral("Odd/Act"), QStringLiteral("3")), rc::Ok);
    EXPECT_EQ(setValue(QStringLiteral("Odd/MaskNoWidth"), QStringLiteral("3")), rc::NotSupported);
    EXPECT_EQ(world.traffic().writes, 0);
    EXPECT_EQ(world.onDevice(QStringLiteral("Scaling/DecimalPointPos")), le(2, 1));
    EXPECT_EQ(world.host().texts(),
              (QStringList{QStringLiteral("Odd/Strange: Type de paramètre inconnu 'ParameterValueWeird'!"),
                           QStringLiteral("DeviceSetValue(): Odd/MaskNoWidth : Cette fonction n'est pas supportée !"),
                           QStringLiteral("Odd/MaskNoWidth: Le masque binaire a une largeur non valide de 0 bit !")}));
    // The refused mask was read back, and a bit mask without width cannot be read either.
    EXPECT_EQ(world.element(QStringLiteral("Odd/MaskNoWidth")).attribute("Status"),
              QStringLiteral("-1"));
}

TEST_P(AccessOddDescription, UnknownKindIsReportedAndTheWalkGoesOn)
{
    EXPECT_EQ(Conf_UpdateValue(world.state(), world.settings(), entry, parameters, QStringLiteral("Odd"), nullptr),
              rc::Ok);
    ASSERT_GE(world.host().messages.size(), 1u);
    EXPECT_EQ(world.host().messages[0].text,
              QStringLiteral("Conf_UpdateValue(): Odd/Strange: Type de paramètre inconnu 'ParameterValueWeird'!"));
    EXPECT_EQ(world.host().messages[0].style, msg::Ok);
    EXPECT_FALSE(world.element(QStringLiteral("Odd/Strange")));
    EXPECT_EQ(world.element(QStringLiteral("Odd/Pos")).text(), QStringLiteral("2"));
    EXPECT_FALSE(world.element(QStringLiteral("Odd/Act")));
}

TEST_P(AccessOddDescription, StringWithoutLengthIsReadOnlyByCan)
{
    QString text;
    const int32_t result = Device_GetString(world.state(), world.settings(), entry, QStringLiteral("Odd/NoMinLen"),
                                            text);
    EXPECT_EQ(result, world.kind() == CANBus ? rc::Ok : rc::Failed);
    EXPECT_EQ(world.traffic().reads, world.kind() == CANBus ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, AccessOddDescription, ::testing::ValuesIn(AllKinds),
                         [](const auto& info) { return kindName(info.param); });

}  // namespace
}  // namespace devicetest
