// The main window's measurement against the simulated amplifiers: what a tick paints,
// a device that falls silent, the recording command, the double clicks and the trend;
// what the CAN net announces (reboots, EMCYs) and the NMT commands.
#include "device/device_fixture.h"

#include "core/Host.h"
#include "core/Settings.h"
#include "device/TedsEditor.h"
#include "transport/can/events/CanNetListener.h"
#include "transport/can/lib/CanLibrary.h"
#include "ui/bitmask/FrmBitMask.h"
#include "ui/frmMain.h"
#include "ui/grid/GridModel.h"
#include "ui/grid/ParameterGrid.h"
#include "ui/measure/MeasurementFrames.h"
#include "ui/measure/TrendChart.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace devicetest {
namespace {

// The demo rack scanned (by default on CAN: device 1, the QSG at 42) and device 1 connected and measuring.
struct MeasureWorld {
    explicit MeasureWorld(int32_t kind = CANBus) : world(kind), window(world.state(), nullptr)
    {
        window.runCommand("MENUITEM_DEVICESCAN");
        window.SigTimer_Timer();   // takes in the TEDS state
        window.Update();           // as the refresh of all windows after that reload does
        world.host().messages.clear();
    }
    SimAmplifier& amplifier() { return world.amplifier(SecondQsgNode); }
    void stick(const char* path, int64_t value, int size)
    {
        amplifier().stickAt(*amplifier().keyOfPath(QString::fromLatin1(path)), le(value, size));
    }
    QLabel* label(const char* name) const { return window.findChild<QLabel*>(QLatin1String(name)); }
    QString lamp(const char* name) const { return lampImage(window, QLatin1String(name)); }
    // Chooses a check item of the command bar as the user does.
    void choose(const char* key)
    {
        window.updateMenuStates();
        window.command(key)->trigger();
    }

    // A frame of the current device as the net hands it on.
    void hear(uint16_t service, std::initializer_list<uint8_t> data)
    {
        world.state().buses.canEvents()->hear(
            {CanFrame::make(uint16_t(service + SecondQsgNode), data), world.state().buses.can->busTimeMs()});
    }
    QString deviceLabel() { return Device_GetLabel(world.state().Devices[world.state().CurrentDevice]); }

    DeviceWorld world;
    frmMain window;
};

TEST(frmMainMeasure, TickPaintsValueLampsAndTedsState)
{
    const struct {
        uint8_t statusShort;
        uint32_t statusLong;
        uint32_t inputOutput;
        uint8_t tedsActive;
        uint32_t tedsError;
        const char* colour;
        const char* lamps;       // LIV0..3 Span0..1 DI DO0..1
        const char* tedsImage;
        const char* tedsTip;
    } cases[] = {
        {0x00, 0x00, 0x00, 1, 0, "#00ff00", "IIII II I II", "IMG_OK", "Configuration de la voie correspondante à TEDS."},
        {0x88, 0x18, 0x21, 0, 0, "#ffff00", "IIIE WW A IA", "IMG_DIFF", "Configuration de la voie divergente de TEDS !"},
        {0x71, 0x10, 0x10, 1, 2, "#ff0000", "EEEI WI I AI", "IMG_ERROR", "Erreur dans l'état TEDS !"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lamps);
        MeasureWorld w;
        w.stick("Measurement/StatusShort", c.statusShort, 1);
        w.stick("Measurement/StatusLong", c.statusLong, 4);
        w.stick("DigitalIO/InputOutputLevel", c.inputOutput, 4);
        w.stick("TEDS/TEDSActive", c.tedsActive, 1);
        w.stick("TEDS/TEDSErrorStatus", c.tedsError, 4);
        w.window.SigTimer_Timer();

        QLabel* value = w.label("LabelMeasVal");
        EXPECT_EQ(value->palette().color(QPalette::WindowText).name(), c.colour);
        EXPECT_EQ(value->text() == "Erreur", (c.statusShort & 1) != 0);
        QString lamps;
        for (const char* name : {"ImageLIV0", "ImageLIV1", "ImageLIV2", "ImageLIV3", " ", "ImageSpan0", "ImageSpan1",
                                 " ", "ImageDI0", " ", "ImageDO0", "ImageDO1"})
            lamps += name[0] == ' ' ? QStringLiteral(" ") : w.lamp(name).mid(4, 1);
        EXPECT_EQ(lamps, QString::fromLatin1(c.lamps));
        EXPECT_TRUE(w.label("ImageHasTEDS")->isVisibleTo(&w.window));
        EXPECT_EQ(w.label("ImageHasTEDS")->toolTip(), "TEDS a été reconnu");
        EXPECT_EQ(w.lamp("ImageTEDSState"), QString::fromLatin1(c.tedsImage));
        EXPECT_EQ(w.label("ImageTEDSState")->toolTip(), QString::fromUtf8(c.tedsTip));
        EXPECT_TRUE(w.window.SigTimer().isActive());
        EXPECT_TRUE(w.world.host().messages.empty()) << w.world.host().texts().join('\n').toStdString();
    }
}

// A CAN device that falls silent is shown lost and tried again, the measurement goes
// on; a PROFIBUS one is closed by its time-out, and the window then shows no device.
TEST(frmMainMeasure, ASilentDeviceIsShownLostOnCanAndStopsElsewhere)
{
    const struct {
        int32_t kind;
        const char* shown;
        bool measuring;
        bool connected;
    } cases[] = {{CANBus, "—", true, true}, {PROFIBUS, "Non raccordé", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        MeasureWorld w(c.kind);
        for (const uint8_t node : {QsgNode, QsnNode, SecondQsgNode})
            w.world.amplifier(node).setSilent(true);
        w.window.SigTimer_Timer();
        if (c.measuring) {
            EXPECT_TRUE(w.world.host().messages.empty()) << w.world.host().texts().join('\n').toStdString();
            EXPECT_TRUE(w.world.host().statusTexts.last().contains("ne répond plus (aucune réponse)"));
        } else {
            ASSERT_EQ(w.world.host().messages.size(), 1u);
            EXPECT_TRUE(w.world.host().messages[0].text.startsWith("Erreur de lecture: Measurement/StatusLong "));
            EXPECT_TRUE(w.world.host().messages[0].text.endsWith("\r\nLa mesure est arrêtée !"));
        }
        EXPECT_EQ(w.window.measuring(), c.measuring);
        EXPECT_EQ(w.window.SigTimer().isActive(), c.measuring);
        EXPECT_EQ(w.label("LabelMeasVal")->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(w.window.findChild<QWidget*>("fpSpreadParameters")->isHidden(), !c.connected);
        EXPECT_EQ(w.window.findChild<QMenu*>("MENU_DEVICE")->isEnabled(), c.connected);
    }
}

TEST(frmMainMeasure, SignalChoiceTakesEffectAtTheNextTick)
{
    MeasureWorld w;
    w.amplifier().refuseAt(SimDirection::Read, *w.amplifier().keyOfPath("Measurement/ValueNet"), 0x08000000);
    auto* combo = w.window.findChild<QComboBox*>("ComboMeasSignal");
    ASSERT_EQ(combo->itemText(1), "Brut");
    emit combo->activated(1);
    EXPECT_EQ(w.world.state().core.StandardSignal, 0);
    w.window.SigTimer_Timer();
    EXPECT_TRUE(w.world.host().messages.empty()) << w.world.host().texts().join('\n').toStdString();
    emit combo->activated(0);
    w.window.SigTimer_Timer();
    ASSERT_EQ(w.world.host().messages.size(), 1u);
    EXPECT_TRUE(w.world.host().messages[0].text.startsWith("Measurement/ValueNet Erreur de lecture: "));
}

TEST(frmMainMeasure, RecordingCommandImageAndEditor)
{
    MeasureWorld w;
    QTemporaryDir folder;
    w.world.state().core.RecordingFilePath = folder.path();
    QStringList launched;
    w.window.launchProgram = [&launched](const QString& program, const QStringList& arguments) {
        launched = QStringList{program} + arguments;
        return true;
    };
    w.choose("MENUITEM_RECORDREADING");
    ASSERT_TRUE(w.window.recording());
    const QString temporary = w.window.measurement().recording().path();
    EXPECT_TRUE(w.label("ImageRecording")->isVisibleTo(&w.window));
    EXPECT_EQ(w.label("ImageRecording")->toolTip(), "Enregistrement en cours. Fichier : '" + temporary + "'");
    w.window.SigTimer_Timer();
    EXPECT_EQ(w.window.measurement().recording().samples(), 1);

    qputenv("VISUAL", "myedit -w");
    QTest::mouseDClick(w.label("ImageRecording"), Qt::LeftButton);
    qunsetenv("VISUAL");
    EXPECT_EQ(launched, QStringList({"myedit", "-w", temporary}));

    // A stop of the measurement finishes the file; the item stays checked, so the next
    // choice stops nothing and the one after records again.
    w.choose("MENUITEM_READING");
    EXPECT_FALSE(w.window.recording());
    EXPECT_TRUE(QFile::exists(temporary.chopped(4) + ".asc"));
    EXPECT_TRUE(w.window.command("MENUITEM_RECORDREADING")->isChecked());
    w.choose("MENUITEM_RECORDREADING");
    EXPECT_FALSE(w.window.recording());
    w.choose("MENUITEM_RECORDREADING");
    EXPECT_TRUE(w.window.recording());

    w.world.host().answers = {msg::No};
    w.window.chooseDevice(1);
    EXPECT_TRUE(w.window.recording()) << "declined: nothing changes";
    EXPECT_EQ(w.world.state().CurrentDevice, 1);
    w.world.host().answers = {msg::Yes, msg::No};
    w.window.chooseDevice(1);
    EXPECT_FALSE(w.window.recording());
    EXPECT_EQ(w.world.state().CurrentDevice, 2);
    EXPECT_EQ(QDir(folder.path()).entryList({"*.tmp"}, QDir::Files), QStringList());
}

// Counts the runs of the TEDS editor the main window starts.
struct CountingEditor : TedsEditor {
    static inline int runs = 0;
    int32_t AddTEDS(int16_t&, QString&, QString&, int32_t&, QString&, QString&) override { return 0; }
    void EditTEDS(TEDSHelper&) override { ++runs; }
};

TEST(frmMainMeasure, DoubleClicksOpenTheBitMasksAndTheTedsEditor)
{
    MeasureWorld w;
    InstalledTedsEditors().add(TedsEditorName, [] { return std::make_unique<CountingEditor>(); });
    CountingEditor::runs = 0;
    // The path of the one bit mask window shown (a replaced one closes).
    const auto shownMask = [&] {
        QStringList shown;
        for (const FrmBitMask* mask : w.window.findChildren<FrmBitMask*>())
            for (const char* path : {"Measurement/StatusLong", "TEDS/TEDSErrorStatus"})
                if (mask->isVisible() && mask->shows(1, path))
                    shown << path;
        return shown;
    };
    QTest::mouseDClick(w.label("LabelMeasVal"), Qt::LeftButton);
    EXPECT_EQ(shownMask(), QStringList{"Measurement/StatusLong"});
    QTest::mouseDClick(w.label("ImageHasTEDS"), Qt::LeftButton);
    QTest::mouseDClick(w.label("ImageTEDSState"), Qt::LeftButton);   // no TEDS error: the editor
    EXPECT_EQ(CountingEditor::runs, 2);
    EXPECT_TRUE(w.window.SigTimer().isActive());

    w.stick("TEDS/TEDSErrorStatus", 2, 4);
    w.window.SigTimer_Timer();
    QTest::mouseDClick(w.label("ImageTEDSState"), Qt::LeftButton);
    EXPECT_EQ(shownMask(), QStringList{"TEDS/TEDSErrorStatus"});
    EXPECT_EQ(CountingEditor::runs, 2);

    w.world.host().messages.clear();
    w.window.runCommand("MENUITEM_DEVICESCAN");
    w.world.state().Devices[1].Online = false;
    QTest::mouseDClick(w.label("LabelMeasVal"), Qt::LeftButton);
    EXPECT_EQ(w.world.host().texts().last(), "Aucun appareil n'a été raccordé !");
}

TEST(frmMainMeasure, TrendFollowsTheTickAndItsSetting)
{
    MeasureWorld w;
    TrendChart* trend = w.window.findChild<TrendChart*>("TrendChart");
    ASSERT_NE(trend, nullptr);
    EXPECT_FALSE(trend->isVisibleTo(&w.window)) << "off by default";
    const QRect screen = w.window.screen()->availableGeometry();
    w.window.setGeometry(0, screen.bottom() - w.window.minimumHeight() - 40, 500, w.window.minimumHeight());
    w.choose("MENUITEM_TREND");
    EXPECT_TRUE(trend->isVisibleTo(&w.window));
    EXPECT_TRUE(screen.contains(QRect(w.window.pos(), w.window.size()))) << "the room it takes stays on the screen";
    QString stored;
    EXPECT_TRUE(AppConf_Find(w.world.state().core, "GUI/ShowTrend", stored));
    EXPECT_TRUE(settingToBool(stored));
    frmMain again(w.world.state(), nullptr);
    EXPECT_TRUE(again.command("MENUITEM_TREND")->isChecked());

    trend->clear();
    TickDisplay shown;
    const struct {
        double seconds;
        uint8_t statusShort;
        float value;
    } ticks[] = {{0.5, 0x00, 1.5f}, {1.0, 0x10, 2.25f}, {1.5, 0x01, ErrorSample}, {2.0, 0x10, 2.5f}, {2.5, 0x00, 1.0f}};
    for (const auto& t : ticks) {
        shown.statusShort = t.statusShort;
        shown.value = t.value;
        shown.unit = t.statusShort & 0x01 ? QString() : QStringLiteral("kg");  // a tick in error has no unit
        trend->addSample(t.seconds, shown);
    }
    EXPECT_EQ(trend->csv(), "Temps (s);kg\r\n0.500;1.5\r\n1.000;2.25\r\n2.000;2.5\r\n2.500;1\r\n");
    EXPECT_EQ(trend->eventCount(), 2) << "the limit switch on, then off";
    trend->setPaused(true);
    trend->addSample(3.0, shown);
    EXPECT_EQ(trend->pointCount(), 4);
    trend->setPaused(false);
    trend->addSample(3.0 + TrendChart::ShownSeconds, shown);
    EXPECT_EQ(trend->pointCount(), 1) << "older points than the shown minutes go";
    shown.unit = "N";
    trend->addSample(3.5 + TrendChart::ShownSeconds, shown);
    EXPECT_EQ(trend->csv(), "Temps (s);N\r\n303.500;1\r\n") << "another unit starts the curve afresh";
    w.window.chooseDevice(1);
    EXPECT_EQ(trend->pointCount(), 0) << "another device starts the curve afresh";
}

}  // namespace
}  // namespace devicetest

namespace devicetest {
namespace {

// The device restarts: said once, its configuration read again, its state shown beside
// the list; a cell the user is editing is not overwritten without asking.
TEST(frmMainNet, ARebootReadsTheConfigurationAgainAskingWhileACellIsEdited)
{
    const struct {
        const char* name;
        bool editing;
        int answer;   // to the question while editing
        bool reread;
    } cases[] = {{"not editing", false, 0, true}, {"editing, yes", true, msg::Yes, true},
                 {"editing, no", true, msg::No, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MeasureWorld w;
        w.world.configure(QStringLiteral("Common/ChannelName"), QStringLiteral("stale"));
        ParameterGrid* grid = w.window.parameterGrid();
        if (c.editing) {
            w.window.show();
            grid->edit(grid->gridModel().cell("Common/ChannelName", gridcol::Value));
            ASSERT_TRUE(grid->editing());
            w.world.host().answers.push_back(c.answer);
        }
        w.hear(0x700, {0x00});
        w.window.pollNetEvents();
        EXPECT_EQ(w.world.host().messages.size(), c.editing ? 1u : 0u);
        EXPECT_EQ(w.world.element("Common/ChannelName").text() != "stale", c.reread);
        const QString said = c.reread ? QStringLiteral("L'appareil %1 a redémarré : sa configuration a été relue.")
                                      : QStringLiteral("L'appareil %1 a redémarré : la grille n'a pas été relue.");
        EXPECT_EQ(w.label("SBarPanel1")->text(), said.arg(w.deviceLabel()));
        auto* state = w.window.findChild<QToolButton*>("cmdNodeState");
        EXPECT_TRUE(state->isVisibleTo(&w.window));
        EXPECT_EQ(state->text(), QStringLiteral("pré-opérationnel"));
        auto* list = w.window.findChild<QComboBox*>("imcmbDevices");
        EXPECT_EQ(list->itemText(list->currentIndex()), w.deviceLabel() + QStringLiteral("  [pré-opérationnel]"));
        w.window.pollNetEvents();
        EXPECT_EQ(w.world.host().messages.size(), c.editing ? 1u : 0u) << "said once";
    }
}

TEST(frmMainNet, AnEmcyShowsInTheStatusAreaAndBesideTheDevice)
{
    MeasureWorld w;
    w.hear(0x080, {0x10, 0x42, 0x05, 1, 2, 3, 4, 5});
    w.window.pollNetEvents();
    EXPECT_EQ(w.label("SBarPanel1")->text(),
              QStringLiteral("nœud 42 : EMCY 0x4210 : Température de l'appareil — registre 0x05 (générique, tension)"));
    auto* state = w.window.findChild<QToolButton*>("cmdNodeState");
    EXPECT_EQ(state->text(), QStringLiteral("inconnu · 1 EMCY"));
    EXPECT_TRUE(state->toolTip().contains("EMCY reçus : 1"));
}

// The NMT menu's commands reach the device; the resets ask first.
TEST(frmMainNet, NmtCommandsFromTheMenu)
{
    const struct {
        const char* caption;
        std::optional<int> answer;
        NmtState expected;
    } cases[] = {
        {"Démarrer (opérationnel)", std::nullopt, NmtState::Operational},
        {"Arrêter tous les nœuds", std::nullopt, NmtState::Stopped},
        {"Réinitialiser le nœud...", msg::No, NmtState::PreOperational},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        MeasureWorld w;
        auto* menu = w.window.findChild<QMenu*>("MENU_NMT");
        ASSERT_NE(menu, nullptr);
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == QString::fromUtf8(c.caption))
                chosen = action;
        ASSERT_NE(chosen, nullptr);
        if (c.answer)
            w.world.host().answers.push_back(*c.answer);
        chosen->trigger();
        EXPECT_EQ(w.world.host().messages.size(), c.answer ? 1u : 0u);
        EXPECT_EQ(w.amplifier().nmtState(), c.expected);
    }
}

}  // namespace
}  // namespace devicetest
