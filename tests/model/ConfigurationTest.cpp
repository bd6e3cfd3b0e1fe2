#include "support/QStringPrint.h"
#include "core/ResultCodes.h"
#include "core/xml/XmlFiles.h"
#include "model/Configuration.h"
#include "model/ValueText.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<XmlDocument> newConfiguration()
{
    std::unique_ptr<XmlDocument> document;
    EXPECT_EQ(Conf_New(QString(), document), rc::Ok);
    return document;
}

// Puts text (and a "Status" when given) on the element of the path.
void stored(XmlNode parameters, const QString& path, const QString& text, const char* status = "")
{
    XmlNode element;
    ASSERT_GE(Conf_GetNode(path, parameters, element), 0);
    element.setText(text);
    if (*status)
        element.setAttribute("Status", QString::fromLatin1(status));
}

TEST(ConfNew, DeviceConfigurationWithAnEmptyParameters)
{
    std::unique_ptr<XmlDocument> document;
    ASSERT_EQ(Conf_New(QStringLiteral("/somewhere/DevConf.xsd"), document), rc::Ok);
    EXPECT_EQ(document->schemaPath(), QStringLiteral("/somewhere/DevConf.xsd"));
    const QByteArray bytes = document->toBytes();
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\"")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("<DeviceConfiguration><Parameters/></DeviceConfiguration>")) << bytes.constData();
    EXPECT_EQ(Conf_Parameters(document.get()).name(), QStringLiteral("Parameters"));
}

TEST(ConfGetNode, CreatesOnceThenFinds)
{
    const auto document = newConfiguration();
    const XmlNode parameters = Conf_Parameters(document.get());
    XmlNode created;
    ASSERT_EQ(Conf_GetNode(QStringLiteral("Measurement/ValueNet"), parameters, created), rc::Created);
    EXPECT_EQ(created.name(), QStringLiteral("ValueNet"));
    EXPECT_EQ(created.parent().name(), QStringLiteral("Measurement"));
    EXPECT_EQ(created.parent().parent(), parameters);

    XmlNode found;
    EXPECT_EQ(Conf_GetNode(QStringLiteral("Measurement/ValueNet"), parameters, found), rc::Ok);
    EXPECT_EQ(found, created);
    EXPECT_EQ(Conf_GetNode(QStringLiteral("./Measurement/ValueGros"), parameters, found), rc::Created);
    EXPECT_EQ(parameters.elementChildren().size(), 1u);
    EXPECT_EQ(parameters.child("Measurement").elementChildren().size(), 2u);
    EXPECT_EQ(Conf_GetNode(QStringLiteral("."), parameters, found), rc::Ok);
    EXPECT_EQ(found, parameters);
}

TEST(ConfGetNode, PredicateCreatesTheElementWithItsChild)
{
    const auto document = newConfiguration();
    const XmlNode parameters = Conf_Parameters(document.get());
    XmlNode first;
    ASSERT_EQ(Conf_GetNode(QStringLiteral("PDO/Send[Index = 1]/CANId"), parameters, first), rc::Created);
    const XmlNode send = first.parent();
    EXPECT_EQ(send.name(), QStringLiteral("Send"));
    EXPECT_EQ(send.childText("Index"), QStringLiteral("1"));

    XmlNode again;
    EXPECT_EQ(Conf_GetNode(QStringLiteral("PDO/Send[Index = 1]/CANId"), parameters, again), rc::Ok);
    EXPECT_EQ(again, first);
    XmlNode second;
    EXPECT_EQ(Conf_GetNode(QStringLiteral("PDO/Send[Index = 2]/CANId"), parameters, second), rc::Created);
    EXPECT_NE(second, first);
    XmlNode spaced;
    EXPECT_EQ(Conf_GetNode(QStringLiteral("PDO/Send [Index = 3]/CANId"), parameters, spaced), rc::Created);
    EXPECT_EQ(spaced.parent().childText("Index"), QStringLiteral("3"));
    EXPECT_EQ(Conf_GetNode(QStringLiteral("PDO/Send [Index = 3]/CANId"), parameters, again), rc::Ok);
    EXPECT_EQ(again, spaced);
    EXPECT_EQ(parameters.child("PDO").selectAll(QStringLiteral("Send")).size(), 3u);
}

TEST(ConfGetNode, NoRootOrNoValidNameIsAFailure)
{
    const auto document = newConfiguration();
    XmlNode element;
    EXPECT_EQ(Conf_GetNode(QStringLiteral("A/B"), XmlNode(), element), rc::MissingDocument);
    EXPECT_EQ(Conf_GetNode(QStringLiteral("A/1st"), Conf_Parameters(document.get()), element),
              rc::UnknownInConfiguration);
    EXPECT_TRUE(element.isNull());

    QString text = QStringLiteral("stale");
    EXPECT_EQ(Conf_GetString(XmlNode(), QStringLiteral("A"), text), rc::MissingDocument);
    EXPECT_EQ(text, QString());
    int32_t value = 5;
    EXPECT_EQ(Conf_GetLong(XmlNode(), QStringLiteral("A"), value), rc::UnknownInConfiguration);
    EXPECT_EQ(value, 0);
}

TEST(ConfGet, NumbersTakeTheLeadingNumberAndTheStatus)
{
    enum class Kind { Byte, Short, Long, Float };
    struct Case {
        Kind kind;
        const char* text;
        const char* status;
        double value;
        int32_t result;
    };
    const Case cases[] = {
        {Kind::Long, "12", "-10", 12, -10},     {Kind::Long, "-7", "", -7, 0},
        {Kind::Long, "12.5", "", 12, 0},        {Kind::Long, "13.5", "", 14, 0},
        {Kind::Long, "3,7", "", 3, 0},          {Kind::Long, "abc", "-4", 0, -4},
        {Kind::Short, "-32768", "", -32768, 0}, {Kind::Short, "12.5", "", 12, 0},
        {Kind::Byte, "255", "", 255, 0},        {Kind::Byte, "17abc", "", 17, 0},
        {Kind::Float, "1.25", "-103", 1.25, -103}, {Kind::Float, "1,5", "", 1, 0},
    };
    for (const Case& c : cases) {
        const auto document = newConfiguration();
        const XmlNode parameters = Conf_Parameters(document.get());
        const QString path = QStringLiteral("Group/Value");
        stored(parameters, path, QString::fromLatin1(c.text), c.status);
        double value = -999;
        int32_t result = 999;
        switch (c.kind) {
        case Kind::Byte: { uint8_t v = 0; result = Conf_GetByte(parameters, path, v); value = v; break; }
        case Kind::Short: { int16_t v = 0; result = Conf_GetShort(parameters, path, v); value = v; break; }
        case Kind::Long: { int32_t v = 0; result = Conf_GetLong(parameters, path, v); value = v; break; }
        case Kind::Float: { float v = 0; result = Conf_GetFloat(parameters, path, v); value = v; break; }
        }
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(result, c.result) << c.text;
    }
}

TEST(ConfGet, TogglesDatesAndStrings)
{
    const auto document = newConfiguration();
    const XmlNode parameters = Conf_Parameters(document.get());
    for (const auto& [text, expected] : {std::pair{"true", true}, {"1", true}, {"false", false}, {"", false}}) {
        stored(parameters, QStringLiteral("Flag"), QString::fromLatin1(text));
        bool value = !expected;
        EXPECT_EQ(Conf_GetToggle(parameters, QStringLiteral("Flag"), value), rc::Ok);
        EXPECT_EQ(value, expected) << text;
    }
    stored(parameters, QStringLiteral("Made"), QStringLiteral("2024-02-29"));
    QDate date;
    EXPECT_EQ(Conf_GetDate(parameters, QStringLiteral("Made"), date), rc::Ok);
    EXPECT_EQ(date, QDate(2024, 2, 29));

    stored(parameters, QStringLiteral("Common/ChannelName"), QStringLiteral("Kanal 1 é"), "-103");
    QString text;
    EXPECT_EQ(Conf_GetString(parameters, QStringLiteral("Common/ChannelName"), text), -103);
    EXPECT_EQ(text, QStringLiteral("Kanal 1 é"));
}

TEST(ConfGet, ReadingAnEmptyConfigurationCreatesTheElements)
{
    const auto document = newConfiguration();
    const XmlNode parameters = Conf_Parameters(document.get());
    int32_t value = -1;
    EXPECT_EQ(Conf_GetLong(parameters, QStringLiteral("Measurement/ValueNet"), value), rc::Ok);
    EXPECT_EQ(value, 0);
    const XmlNode element = parameters.child("Measurement").child("ValueNet");
    ASSERT_FALSE(element.isNull());
    EXPECT_EQ(element.text(), QString());
    EXPECT_FALSE(element.hasAttribute("Status"));
}

class ConfLoadFileTest : public testing::Test {
protected:
    TestFolder world;
    std::unique_ptr<XmlDocument> current = newConfiguration();
    const QString schema = TestFolder::shippedProgramFolder() + QStringLiteral("/DevConf.xsd");

    void SetUp() override { stored(Conf_Parameters(current.get()), QStringLiteral("Marker"), QStringLiteral("kept")); }

    int32_t load(const QString& path) { return Conf_LoadFile(world.host, path, schema, current); }
    QString marker() const { return Conf_Parameters(current.get()).childText("Marker"); }
};

TEST_F(ConfLoadFileTest, FilesThatDoNotLoadLeaveTheDocumentAlone)
{
    const QString loaderHead = QStringLiteral("Erreur lors du chargement du document  XML : ");
    struct Case {
        const char* name;
        QByteArray content;
    };
    const Case cases[] = {
        {"notxml.xml", "this is not XML"},
        {"noparameters.xml", "<?xml version='1.0'?><DeviceConfiguration/>"},
        {"badstatus.xml", "<DeviceConfiguration><Parameters><A Status='x'>1</A></Parameters></DeviceConfiguration>"},
        {"twice.xml", "<DeviceConfiguration><Parameters/><Parameters/></DeviceConfiguration>"},
    };
    for (const Case& c : cases) {
        world.host.messages.clear();
        const QString path = world.write(QString::fromLatin1(c.name), c.content);
        const XmlDocument* before = current.get();
        EXPECT_EQ(load(path), rc::Failed) << c.name;
        EXPECT_EQ(current.get(), before) << c.name;
        EXPECT_EQ(marker(), QStringLiteral("kept")) << c.name;
        ASSERT_EQ(world.host.messages.size(), 1u) << c.name;
        const QString head = loaderHead + path + QStringLiteral("\r\nMessage : ");
        EXPECT_TRUE(world.host.messages[0].text.startsWith(head)) << world.host.messages[0].text.toStdString();
        EXPECT_GT(world.host.messages[0].text.size(), head.size()) << c.name;
        EXPECT_EQ(world.host.messages[0].style, 0) << c.name;
    }
    EXPECT_EQ(load(world.file(QStringLiteral("missing.xml"))), rc::Failed);
    EXPECT_EQ(marker(), QStringLiteral("kept"));
}

TEST_F(ConfLoadFileTest, ADescriptionIsNotAConfiguration)
{
    const QString path = world.write(QStringLiteral("descr.xml"),
                                     "<DeviceDescription><ParameterGroup><Members/></ParameterGroup></DeviceDescription>");
    EXPECT_EQ(load(path), rc::UnknownInterface);
    ASSERT_EQ(world.host.messages.size(), 1u);
    EXPECT_EQ(world.host.messages[0].text,
              '\'' + path + QStringLiteral("' n'est pas un fichier de configuration de l'appareil !"));
    EXPECT_EQ(world.host.messages[0].style, 16);
    EXPECT_EQ(marker(), QStringLiteral("kept"));
}

TEST_F(ConfLoadFileTest, ASavedConfigurationComesBack)
{
    auto saved = newConfiguration();
    stored(Conf_Parameters(saved.get()), QStringLiteral("Measurement/ValueNet"), QStringLiteral("12"), "-10");
    stored(Conf_Parameters(saved.get()), QStringLiteral("Common/ChannelName"), QStringLiteral("Pont à jauges"));
    const QString path = world.file(QStringLiteral("saved.xml"));
    ASSERT_EQ(Xml_Save(saved.get(), path), rc::Ok);
    EXPECT_EQ(Xml_Save(nullptr, path), rc::MissingDocument);

    ASSERT_EQ(load(path), rc::Ok);
    EXPECT_TRUE(world.host.messages.empty());
    EXPECT_EQ(marker(), QString());
    int32_t value = 0;
    EXPECT_EQ(Conf_GetLong(Conf_Parameters(current.get()), QStringLiteral("Measurement/ValueNet"), value), -10);
    EXPECT_EQ(value, 12);
    QString name;
    EXPECT_EQ(Conf_GetString(Conf_Parameters(current.get()), QStringLiteral("Common/ChannelName"), name), rc::Ok);
    EXPECT_EQ(name, QStringLiteral("Pont à jauges"));
}

}  // namespace
