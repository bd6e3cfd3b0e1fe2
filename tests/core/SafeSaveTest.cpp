#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "core/xml/XmlFiles.h"
#include "support/QStringPrint.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kOld = "<?xml version='1.0'?><Old>kept byte for byte</Old>";

QString contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The old file at the path; when blocked, the path is a link to a name so long that no
// file can be written beside it (the name plus a temporary suffix exceeds a name's limit).
void placeOldFile(const TestFolder& world, const QString& path, bool blocked)
{
    const QString target = blocked ? QFileInfo(path).dir().filePath(QString(250, u'x')) : path;
    world.write(QDir(world.path()).relativeFilePath(target), kOld);
    if (blocked) {
        ASSERT_TRUE(QFile::link(target, path));
    }
}

// The two files the user's work lives in: a saved configuration and the settings file.
struct SaveCase {
    const char* name;
    const char* file;
    const char* root;
    int32_t (*save)(TestFolder& world, const QString& path, std::unique_ptr<XmlDocument> document);
};

const SaveCase kSaves[] = {
    {"configuration", "configurations/device.xml", "DeviceConfiguration",
     [](TestFolder&, const QString& path, std::unique_ptr<XmlDocument> document) {
         return Xml_Save(document.get(), path);
     }},
    {"settings", "appdata/ZEM/Quelbrin Assistant/Quelbrin Assistant.conf", "Configuration",
     [](TestFolder& world, const QString&, std::unique_ptr<XmlDocument> document) {
         world.state.core.SettingsDocument = std::move(document);
         return AppConf_Save(world.state.core);
     }},
};

TEST(SafeSaveTest, AFailedSaveKeepsTheOldFileAndAGoodOneReplacesIt)
{
    for (const SaveCase& c : kSaves) {
        for (const bool blocked : {true, false}) {
            TestFolder world;
            const QString path = world.file(QString::fromLatin1(c.file));
            placeOldFile(world, path, blocked);
            std::unique_ptr<XmlDocument> document;
            ASSERT_EQ(Xml_Create(QString(), document), rc::Ok);
            document->createDocumentElement(QString::fromLatin1(c.root));
            const QByteArray saved = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + QByteArray(c.root) + "/>\n";
            EXPECT_EQ(c.save(world, path, std::move(document)), blocked ? rc::Failed : rc::Ok) << c.name << blocked;
            EXPECT_EQ(contents(path), QString::fromUtf8(blocked ? kOld : saved)) << c.name << blocked;
            EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden).size(), blocked ? 2 : 1)
                << c.name << blocked << ": nothing is left beside the file";
        }
    }
}

}  // namespace
