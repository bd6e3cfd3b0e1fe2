#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "device/AppInit.h"
#include "transport/InterfaceManager.h"
#include "support/QStringPrint.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// A description whose only parameter "Tag" carries the given text in three languages.
QByteArray description(const char* tag)
{
    return QByteArray("<?xml version='1.0'?><DeviceDescription><ParameterGroup><Members>"
                      "<ParameterValueLong><Name>Tag</Name><Description>") +
           "<de>Kennung " + tag + "</de><en>Tag " + tag + "</en><fr>Repère " + tag + "</fr>" +
           "</Description></ParameterValueLong></Members></ParameterGroup></DeviceDescription>";
}

const QString kLoaderHead = QStringLiteral("Erreur lors du chargement du document  XML : ");
const QString kCannotLoad = QStringLiteral("Impossible de charger le fichier de description de l'appareil !");

// Start-up against a program folder of the test's own making, with the shipped schema.
class AppInitTest : public testing::Test {
protected:
    AppInitTest()
    {
        app.programFolder = world.file(QStringLiteral("program"));
        QDir().mkpath(descriptionFolder());
        QFile::copy(TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription/DevDescr.xsd"),
                    descriptionFolder() + QStringLiteral("/DevDescr.xsd"));
    }

    QString descriptionFolder() const { return app.programFolder + QStringLiteral("/DeviceDescription"); }
    QString addDescription(const QString& name, const QByteArray& text) const
    {
        return world.write(QStringLiteral("program/DeviceDescription/") + name, text);
    }
    // The "Tag" text of each loaded description, in load order.
    QStringList loadedTags() const
    {
        QStringList tags;
        for (const auto& loaded : world.state.descriptions) {
            XmlNode tag;
            EXPECT_GE(Descr_FindNode(QStringLiteral("Tag"), loaded.get(), tag), 0);
            tags << Descr_GetText(tag, app.Language);
        }
        return tags;
    }

    TestFolder world;
    AppCore& app = world.state.core;
};

TEST_F(AppInitTest, LoadsDirectXmlFilesInFolderOrder)
{
    addDescription(QStringLiteral("b.xml"), description("B"));
    addDescription(QStringLiteral("a.xml"), description("A"));
    addDescription(QStringLiteral("c.xml"), description("C"));
    addDescription(QStringLiteral("D.XML"), description("D"));
    addDescription(QStringLiteral("e.Xml"), description("E"));
    addDescription(QStringLiteral("sub/f.xml"), description("F"));
    addDescription(QStringLiteral("notes.txt"), "not a description");
    world.state.Devices.resize(3);
    world.state.DeviceCount = 2;

    ASSERT_EQ(App_Init(world.state), rc::Ok);
    EXPECT_TRUE(world.host.messages.empty()) << world.host.texts().join('|').toStdString();
    EXPECT_EQ(loadedTags(), QStringList({QStringLiteral("Repère A"), QStringLiteral("Repère B"), QStringLiteral("Repère C")}));

    EXPECT_TRUE(app.Initialised);
    EXPECT_EQ(app.AppTitle, QStringLiteral("Assistant Quelbrin"));
    EXPECT_EQ(app.Language, QStringLiteral("fr"));
    EXPECT_EQ(app.RecordingFilePath, world.file(QStringLiteral("profile/ZEM/Quelbrin Assistant/data")));
    EXPECT_TRUE(QFileInfo(app.RecordingFilePath).isDir());
    EXPECT_EQ(world.state.Devices.size(), 1u);
    EXPECT_EQ(world.state.DeviceCount, 0);
    EXPECT_FALSE(Log_IsOpen(app));
    EXPECT_FALSE(QFile::exists(AppConf_FilePath(app))) << "start-up writes no settings file";
}

TEST_F(AppInitTest, SettingsChooseLanguageAndStartAFreshLog)
{
    addDescription(QStringLiteral("a.xml"), description("A"));
    world.write(QStringLiteral("appdata/ZEM/Quelbrin Assistant/Quelbrin Assistant.conf"),
                "<?xml version='1.0'?><Configuration><GUI><Language>de</Language></GUI>"
                "<AutoLog>True</AutoLog><TEDSEditorUserLevel>3</TEDSEditorUserLevel></Configuration>");
    const QString logPath =
        world.write(QStringLiteral("appdata/ZEM/Quelbrin Assistant/Quelbrin Assistant.log"), "old run\r\n");

    ASSERT_EQ(App_Init(world.state), rc::Ok);
    EXPECT_EQ(app.Language, QStringLiteral("de"));
    EXPECT_EQ(loadedTags(), QStringList{QStringLiteral("Kennung A")});
    EXPECT_EQ(app.TEDSEditorUserLevel, 3);
    EXPECT_TRUE(Log_IsOpen(app));
    EXPECT_EQ(QFileInfo(logPath).size(), 0);
}

TEST_F(AppInitTest, StandardInterfaceIsLoadedWhenWholeAndComesBackAsSaved)
{
    addDescription(QStringLiteral("a.xml"), description("A"));
    const auto summary = [](const InterfaceSettings& s) {
        return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
            .arg(s.InterfaceType)
            .arg(s.HWName, s.BusName)
            .arg(s.BaudRate)
            .arg(s.PType)
            .arg(s.Devno)
            .arg(s.DeviceNetBaud);
    };
    // Start-up in a world of its own, whose settings file the caller writes first.
    const auto startUp = [&](const std::function<void(TestFolder&)>& prepare) {
        TestFolder run;
        run.state.core.programFolder = app.programFolder;
        prepare(run);
        EXPECT_EQ(App_Init(run.state), rc::Ok);
        EXPECT_EQ(run.host.texts(), QStringList());
        return summary(run.state.StandardInterface);
    };
    const char* none = "0|||0|0|0|0";
    const std::pair<QByteArray, const char*> entries[] = {
        {"", none},
        {"<CANBus><HardwareName>Simulation</HardwareName><BusName>Démo</BusName><Baudrate>500</Baudrate></CANBus>",
         "1|Simulation|Démo|500|0|0|0"},
        {"<PROFIBUS><PType>10</PType><DevNo>1</DevNo></PROFIBUS>", "2|||0|10|1|0"},
        {"<DeviceNet><Baudrate>2</Baudrate></DeviceNet>", "5|||0|0|0|2"},
        {"<CANBus><HardwareName>Simulation</HardwareName><Baudrate>500</Baudrate></CANBus>", none},
        {"<CANBus><HardwareName>S</HardwareName><BusName>B</BusName><Baudrate>vite</Baudrate></CANBus>", none},
        {"<PROFIBUS><PType>70000</PType><DevNo>1</DevNo></PROFIBUS>", none},
        {"<PROFIBUS><PType>10</PType></PROFIBUS>", none},
        {"<DeviceNet/>", none},
        {"<RS232><Baudrate>9600</Baudrate></RS232>", none},
        {"CANBus", none},
    };
    for (const auto& [entry, expected] : entries) {
        EXPECT_EQ(startUp([&](TestFolder& run) {
                      run.write(QStringLiteral("appdata/ZEM/Quelbrin Assistant/Quelbrin Assistant.conf"),
                                "<?xml version='1.0'?><Configuration><Device><StandardInterface>" + entry +
                                    "</StandardInterface></Device></Configuration>");
                  }),
                  QString::fromUtf8(expected))
            << entry.constData();
    }

    InterfaceSettings can;
    can.InterfaceType = CANBus;
    can.HWName = QStringLiteral("virtualcan");
    can.BusName = QStringLiteral("can0");
    can.BaudRate = 250;
    InterfaceSettings profibus;
    profibus.InterfaceType = PROFIBUS;
    profibus.PType = -3;
    profibus.Devno = 7;
    InterfaceSettings deviceNet;
    deviceNet.InterfaceType = DeviceNet;
    deviceNet.DeviceNetBaud = 1;
    for (const InterfaceSettings& saved : {can, profibus, deviceNet}) {
        EXPECT_EQ(startUp([&](TestFolder& run) {
                      AppConf_Create(run.state.core);
                      EXPECT_EQ(SaveStandardInterface(run.state, saved), rc::Ok);
                      EXPECT_EQ(AppConf_Save(run.state.core), rc::Ok);
                  }),
                  summary(saved));
    }
}

TEST_F(AppInitTest, BadDescriptionsAreReportedAndLeftOut)
{
    const QString notWellFormed = addDescription(QStringLiteral("1bad.xml"), "<DeviceDescription><ParameterGroup>");
    const QString notValid = addDescription(
        QStringLiteral("2invalid.xml"),
        "<DeviceDescription><ParameterGroup><Members><ParameterFoo><Name>X</Name></ParameterFoo>"
        "</Members></ParameterGroup></DeviceDescription>");
    addDescription(QStringLiteral("3empty.xml"), "<?xml version='1.0'?><DeviceDescription/>");
    addDescription(QStringLiteral("4good.xml"), description("G"));

    ASSERT_EQ(App_Init(world.state), rc::Ok);
    EXPECT_EQ(loadedTags(), QStringList{QStringLiteral("Repère G")});

    const auto& messages = world.host.messages;
    ASSERT_EQ(messages.size(), 5u) << world.host.texts().join('|').toStdString();
    for (const auto& [index, path] : {std::pair{0, notWellFormed}, {2, notValid}}) {
        const QString head = kLoaderHead + path + QStringLiteral("\r\nMessage : ");
        EXPECT_TRUE(messages[index].text.startsWith(head)) << messages[index].text.toStdString();
        EXPECT_GT(messages[index].text.size(), head.size());
        EXPECT_EQ(messages[index].style, 0);
        EXPECT_EQ(messages[index + 1].text, kCannotLoad);
        EXPECT_EQ(messages[index + 1].style, 16);
    }
    EXPECT_EQ(messages[4].text, QStringLiteral("Erreur dans le fichier de description de l'appareil !"));
    EXPECT_EQ(messages[4].style, 16);
}

TEST_F(AppInitTest, NoLoadableDescriptionEndsTheProgram)
{
    const QString noneLoaded =
        QStringLiteral("Impossible de charger un fichier de description de l'appareil. Le programme est terminé !");
    addDescription(QStringLiteral("A.XML"), description("A"));
    EXPECT_EQ(App_Init(world.state), rc::MissingDocument);
    ASSERT_EQ(world.host.messages.size(), 1u);
    EXPECT_EQ(world.host.messages[0].text, noneLoaded);
    EXPECT_EQ(world.host.messages[0].style, 64);
    EXPECT_TRUE(world.state.descriptions.empty());

    TestFolder noFolder;
    noFolder.state.core.programFolder = noFolder.file(QStringLiteral("empty"));
    EXPECT_EQ(App_Init(noFolder.state), rc::MissingDocument);
    const QString failure =
        QStringLiteral("Dossier introuvable : ") + noFolder.file(QStringLiteral("empty/DeviceDescription"));
    EXPECT_EQ(noFolder.host.texts(),
              QStringList({QStringLiteral("Desr_LoadAll: ") + failure, noneLoaded + failure}));
    EXPECT_EQ(noFolder.host.messages.back().style, 64);
}

TEST_F(AppInitTest, ASecondInstanceIsRefused)
{
    const QString refused = QStringLiteral("Déjà une entité en cours de Assistant Quelbrin. Le programme est terminé !");
    addDescription(QStringLiteral("a.xml"), description("A"));
    {
        QLocalServer otherProgram;
        ASSERT_TRUE(otherProgram.listen(app.instanceKey));
        EXPECT_EQ(App_Init(world.state), rc::Failed);
        ASSERT_EQ(world.host.messages.size(), 1u);
        EXPECT_EQ(world.host.messages[0].text, refused);
        EXPECT_EQ(world.host.messages[0].style, 64);
        EXPECT_FALSE(app.Initialised);
        EXPECT_TRUE(world.state.descriptions.empty());
    }
    world.host.messages.clear();
    ASSERT_EQ(App_Init(world.state), rc::Ok);
    EXPECT_TRUE(app.Initialised);

    AppState second;
    ScriptedHost secondHost;
    second.core.host = &secondHost;
    second.core.programFolder = app.programFolder;
    second.core.instanceKey = app.instanceKey;
    EXPECT_EQ(App_Init(second), rc::Failed);
    EXPECT_EQ(secondHost.texts(), QStringList{refused});

    world.state.instanceGuard.reset();  // the first program ends
    EXPECT_EQ(App_Init(second), rc::Ok);
    EXPECT_TRUE(second.core.Initialised);
}

}  // namespace
