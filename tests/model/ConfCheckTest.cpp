#include "DescriptionText.h"

#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "core/xml/XmlFiles.h"
#include "model/ConfCheck.h"
#include "model/Configuration.h"
#include "support/TestFolder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using descr::member;

QByteArray persistent(bool on) { return on ? "<Persistent>true</Persistent>" : "<Persistent>false</Persistent>"; }

QByteArray checkedMembers()
{
    const QByteArray gain = member("ParameterValueLong", "Gain",
                                   descr::texts("Gain de l'amplificateur", "Gain") + persistent(true) +
                                       "<MinValue>0</MinValue><MaxValue>10</MaxValue>"
                                       "<Communication><SDO><Index>8192</Index><Sub>3</Sub></SDO></Communication>");
    const QByteArray reset = member("ParameterActionByte", "Reset");
    const QByteArray cfg = member("ParameterGroup", "Cfg",
                                  descr::texts("Réglages", "Settings") + "<Members>" +
                                      member("ParameterValueLong", "Missing", persistent(true)) + gain + reset +
                                      "</Members>");
    return cfg +
           descr::group("Good", gain + reset) +
           reset + member("ParameterActionLong", "Go") +
           member("ParameterEnumString", "Mode") + member("ParameterEnumString", "KeptMode", persistent(true)) +
           member("ParameterBitMask", "Mask") + member("ParameterBitMask", "KeptMask", persistent(true) + "<Width>8</Width>") +
           member("ParameterValueHexBinary", "Block", persistent(false)) +
           member("ParameterValueLong", "Volatile", persistent(false)) + member("ParameterToggle", "Flag") +
           member("ParameterValueDate", "Made") + member("SequenceConstLong", "Sequence") +
           member("ParameterValueByte", "Byte", persistent(true)) +
           member("ParameterValueString", "Label", persistent(true) + "<MaxLen>4</MaxLen>") +
           member("ParameterValueFloat", "Float", persistent(true) + "<MaxValue>2.5</MaxValue>") +
           member("ParameterValueShort", "Short", persistent(true) + "<MaxValue>10</MaxValue>") +
           member("ParameterValueLongFloat", "Scaled", persistent(true) + "<MaxValue>10</MaxValue>") +
           member("ParameterFoo", "Odd") + member("ParameterValueLong", "NoFlag") +
           member("ParameterValueLong", "CanOnly", persistent(true) + "<RequiresInterface>1</RequiresInterface>") +
           member("ParameterValueLong", "AnyBus", persistent(true) + "<RequiresInterface>0</RequiresInterface>");
}

class ConfCheckTest : public testing::Test {
protected:
    ConfCheckTest()
    {
        descriptions.push_back(descr::make(checkedMembers()));
        entry.InterfaceKind = CANBus;
        entry.NodeId = 3;
        entry.SerialNumber = QStringLiteral("42");
        EXPECT_EQ(Conf_New(QString(), configuration), rc::Ok);
    }

    XmlNode parameters() const { return Conf_Parameters(configuration.get()); }
    void store(const char* path, const char* text)
    {
        XmlNode element;
        ASSERT_GE(Conf_GetNode(QString::fromLatin1(path), parameters(), element), 0);
        element.setText(QString::fromLatin1(text));
    }
    int32_t check(const QString& path)
    {
        return Conf_CheckParameter(world.state.core, descriptions, entry, parameters(), path);
    }
    QStringList logLines() const
    {
        QFile log(GetAppDataFolder(world.state.core) + QStringLiteral("/Quelbrin Assistant.log"));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(QStringLiteral("\r\n"));
    }

    TestFolder world;
    Descriptions descriptions;
    DeviceEntry entry;
    std::unique_ptr<XmlDocument> configuration;
};

TEST_F(ConfCheckTest, EachKindIsCheckedSkippedOrPassed)
{
    struct Case {
        const char* path;
        const char* stored;  // nullptr: no element
        int32_t result;
        size_t messages;
    };
    const Case cases[] = {
        {"Reset", nullptr, rc::ReloadComplete, 0},  {"Go", nullptr, rc::ReloadComplete, 0},
        {"Mode", nullptr, rc::ReloadComplete, 0},   {"Mask", nullptr, rc::ReloadComplete, 0},
        {"Block", nullptr, rc::ReloadComplete, 0},  {"Volatile", nullptr, rc::ReloadComplete, 0},
        {"Flag", nullptr, rc::Ok, 0},               {"Made", nullptr, rc::Ok, 0},
        {"Sequence", nullptr, rc::Ok, 0},           {"KeptMode", nullptr, rc::UnknownInConfiguration, 0},
        {"KeptMode", "77", rc::Ok, 0},              {"Byte", "", rc::Ok, 0},
        {"Label", "abcd", rc::Ok, 0},               {"Label", "abcde", rc::Refused, 1},
        {"Float", "2.5", rc::Ok, 0},                {"Float", "3", rc::Refused, 1},
        {"Short", "10.4", rc::Ok, 0},               {"Short", "10.6", rc::Refused, 1},
        {"Scaled", "11", rc::Refused, 1},           {"Cfg/Gain", "10", rc::Ok, 0},
        {"Byte", "300", rc::Refused, 1},            {"Short", "-40000", rc::Refused, 1},
        {"KeptMask", "255", rc::Ok, 0},             {"KeptMask", "511", rc::Refused, 1},
        {"Cfg/Missing", nullptr, rc::UnknownInConfiguration, 0},
        {"Nothing", nullptr, rc::UnknownInDescription, 0},
        {"CanOnly", nullptr, rc::UnknownInConfiguration, 0},
        {"AnyBus", nullptr, rc::UnknownInConfiguration, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + (c.stored ? c.stored : "(none)"));
        ASSERT_EQ(Conf_New(QString(), configuration), rc::Ok);
        if (c.stored)
            store(c.path, c.stored);
        world.host.messages.clear();
        EXPECT_EQ(check(QString::fromLatin1(c.path)), c.result);
        EXPECT_EQ(world.host.messages.size(), c.messages);
        if (!c.stored) {  // the check only looks; it never creates an element
            EXPECT_TRUE(parameters().selectSingle(QString::fromLatin1(c.path)).isNull());
        }
    }
}

TEST_F(ConfCheckTest, ParametersOfAnotherInterfaceAreSkipped)
{
    // A device read over PROFIBUS has no value for CAN-only parameters.
    entry.InterfaceKind = PROFIBUS;
    EXPECT_EQ(check(QStringLiteral("CanOnly")), rc::ReloadComplete);
    EXPECT_EQ(check(QStringLiteral("AnyBus")), rc::UnknownInConfiguration);
    EXPECT_TRUE(parameters().selectSingle(QStringLiteral("CanOnly")).isNull());
}

TEST_F(ConfCheckTest, AGroupGivesTheLastFailureOfItsMembers)
{
    store("Cfg/Gain", "11");
    EXPECT_EQ(check(QStringLiteral("Cfg")), rc::Refused);
    store("Good/Gain", "5");
    EXPECT_EQ(check(QStringLiteral("Good")), rc::Ok);
    store("Cfg/Gain", "10");
    EXPECT_EQ(check(QStringLiteral("Cfg")), rc::UnknownInConfiguration);
}

TEST_F(ConfCheckTest, UnknownKindIsNamed)
{
    EXPECT_EQ(check(QStringLiteral("Odd")), rc::UnknownInDescription);
    ASSERT_EQ(world.host.messages.size(), 1u);
    EXPECT_EQ(world.host.messages[0].text, QStringLiteral("Odd: Type de paramètre inconnu 'ParameterFoo'!"));
    EXPECT_EQ(world.host.messages[0].style, 0);
}

TEST_F(ConfCheckTest, MissingPersistentFlagIsARunTimeFailure)
{
    Log_Open(world.state.core, true);
    store("NoFlag", "7");
    EXPECT_EQ(check(QStringLiteral("NoFlag")), rc::Failed);
    ASSERT_EQ(world.host.messages.size(), 1u);
    const QString text = world.host.messages[0].text;
    const QString head =
        QStringLiteral("CAN-ID 3, Snr. 42Erreur lors de la vérification du paramètre 'NoFlag' avec la valeur : '");
    EXPECT_TRUE(text.startsWith(head)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("'\r\nMessage : '"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith('\'')) << text.toStdString();
    EXPECT_EQ(world.host.messages[0].style, msg::Warning);
    ASSERT_GE(logLines().size(), 1);
    EXPECT_TRUE(logLines().join(QStringLiteral("\r\n")).contains(head)) << logLines().join('|').toStdString();
}

TEST_F(ConfCheckTest, AFailedGroupIsLoggedAfterItsMembers)
{
    Log_Open(world.state.core, true);
    store("Cfg/Gain", "11");
    EXPECT_EQ(check(QStringLiteral("Cfg")), rc::Refused);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 4) << lines.join('|').toStdString();
    const QString tail = QStringLiteral(": Erreur lors de la vérification du paramètre");
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(", Paramètre '', Index SDO0, Sous-index SDO 0") + tail))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(", Paramètre 'Gain de l'amplificateur', Index SDO8192, Sous-index SDO 3") + tail))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(", Paramètre 'Réglages', Index SDO0, Sous-index SDO 0") + tail))
        << lines[2].toStdString();
}

}  // namespace
