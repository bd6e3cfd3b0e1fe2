#include "ui/frmOptions.h"

#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "support/QStringPrint.h"
#include "support/TestFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <gtest/gtest.h>

#include <optional>

namespace {

const QString kSettingsFile = QStringLiteral("appdata/ZEM/Quelbrin Assistant/Quelbrin Assistant.conf");

// What the user does in the dialog; unset fields are left alone.
struct OptionsCase {
    const char* name;
    int16_t startSignal;
    std::optional<bool> followingHelp, autoLog;
    std::optional<int> signalItem;
    std::optional<QString> typedPath;
    QString chosenFolder;  // the folder chooser's answer when the path button is pressed
    bool ok;
    // Expected afterwards ("<appdata>" stands for the application-data folder).
    bool expectHelp, expectLog;
    int16_t expectSignal;
    QString expectPath;
};

void PrintTo(const OptionsCase& c, std::ostream* os) { *os << c.name; }

const QString Start = QStringLiteral("/start/data");

const OptionsCase OptionsCases[] = {
    {"ok stores every control", 1, true, true, 1, std::nullopt, "/chosen", true,
     true, true, 0, "/chosen"},
    {"cancel discards every change", 1, true, true, 1, std::nullopt, "/chosen", false,
     false, false, 1, Start},
    {"cleared path gives the application-data folder", 0, std::nullopt, std::nullopt, std::nullopt,
     QString(), QString(), true, false, false, 0, "<appdata>"},
    {"cancelled chooser keeps the typed path", 1, std::nullopt, std::nullopt, 0, "/typed", QString(),
     true, false, false, 1, "/typed"},
    {"signal the list lacks stays as it was", 5, std::nullopt, std::nullopt, std::nullopt,
     std::nullopt, QString(), true, false, false, 5, Start},
};

class frmOptionsTest : public testing::TestWithParam<OptionsCase> {
protected:
    void SetUp() override
    {
        world.write(kSettingsFile, "<?xml version='1.0'?><Configuration/>");
        ASSERT_EQ(AppConf_Load(app), rc::Ok);
        app.RecordingFilePath = Start;
    }
    QByteArray settingsBytes() const
    {
        QFile file(world.file(kSettingsFile));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    template <typename T>
    T* control(const QWidget& dialog, const char* name)
    {
        T* widget = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }

    TestFolder world;
    AppCore& app = world.state.core;
};

TEST_P(frmOptionsTest, OkStoresAndSavesCancelChangesNothing)
{
    const OptionsCase& c = GetParam();
    app.StandardSignal = c.startSignal;
    const QByteArray before = settingsBytes();
    frmOptions dialog(app, [&] { return c.chosenFolder; });

    auto* combo = control<QComboBox>(dialog, "ComboStandardSignal");
    EXPECT_EQ(combo->currentIndex(), combo->findData(int(c.startSignal)));
    EXPECT_EQ(control<QLineEdit>(dialog, "TextPath")->toolTip(), Start);
    if (c.followingHelp)
        control<QCheckBox>(dialog, "CheckFollowingHelp")->setChecked(*c.followingHelp);
    if (c.autoLog)
        control<QCheckBox>(dialog, "CheckLogDefault")->setChecked(*c.autoLog);
    if (c.signalItem)
        combo->setCurrentIndex(*c.signalItem);
    if (c.typedPath)
        control<QLineEdit>(dialog, "TextPath")->setText(*c.typedPath);
    if (!c.typedPath || !c.typedPath->isEmpty())
        control<QPushButton>(dialog, "ctlButtonPath")->click();
    control<QPushButton>(dialog, c.ok ? "cmdButtonOk" : "ctlButtonCancel")->click();

    const QString expectPath = c.expectPath == "<appdata>" ? GetAppDataFolder(app) : c.expectPath;
    EXPECT_EQ(dialog.result(), c.ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(app.FollowingHelp, c.expectHelp);
    EXPECT_EQ(app.AutoLog, c.expectLog);
    EXPECT_EQ(app.StandardSignal, c.expectSignal);
    EXPECT_EQ(app.RecordingFilePath, expectPath);
    if (!c.ok) {
        EXPECT_EQ(settingsBytes(), before);
        return;
    }
    // What was saved comes back at the next start.
    AppCore reloaded;
    reloaded.host = &world.host;
    reloaded.programFolder = app.programFolder;
    ASSERT_EQ(AppConf_Load(reloaded), rc::Ok);
    EXPECT_EQ(reloaded.FollowingHelp, c.expectHelp);
    EXPECT_EQ(reloaded.AutoLog, c.expectLog);
    EXPECT_EQ(reloaded.StandardSignal, c.expectSignal);
    EXPECT_EQ(reloaded.RecordingFilePath, expectPath);
}

INSTANTIATE_TEST_SUITE_P(Cases, frmOptionsTest, testing::ValuesIn(OptionsCases));

// One caption per kind of control (a frame's title, a check box's text) and the list items;
// every control is reached by its own Alt key.
TEST_F(frmOptionsTest, CaptionsAcceleratorsAndListItems)
{
    frmOptions dialog(app, {});
    EXPECT_EQ(control<QGroupBox>(dialog, "FrameMeasurement")->title(), "Mesure");
    EXPECT_EQ(QString(control<QCheckBox>(dialog, "CheckLogDefault")->text()).remove('&'),
              "Activer journal automatiquement lors du démarrage");
    const QString captions[] = {
        control<QCheckBox>(dialog, "CheckFollowingHelp")->text(),
        control<QCheckBox>(dialog, "CheckLogDefault")->text(),
        control<QLabel>(dialog, "LabelPath")->text(),
        control<QLabel>(dialog, "LabelStandardSignal")->text(),
    };
    QSet<QKeySequence> keys;
    for (const QString& caption : captions) {
        const QKeySequence key = QKeySequence::mnemonic(caption);
        EXPECT_FALSE(key.isEmpty()) << caption.toStdString();
        keys.insert(key);
    }
    EXPECT_EQ(keys.size(), int(std::size(captions)));
    auto* combo = control<QComboBox>(dialog, "ComboStandardSignal");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(QStringList({combo->itemText(0), combo->itemText(1)}), QStringList({"Net", "Brut"}));
    EXPECT_EQ(QList<int>({combo->itemData(0).toInt(), combo->itemData(1).toInt()}), QList<int>({1, 0}));
}

}  // namespace
