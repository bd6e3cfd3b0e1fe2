// The parameter grid against the simulated buses: rows per kind and interface, values
// and their sources, edits and their three outcomes, switches, buttons, periodic rows,
// expanding and the keyboard.
#include "device/device_fixture.h"

#include "core/Host.h"
#include "model/Descriptions.h"
#include "sim/amplifier/SimAmplifier.h"
#include "transport/can/lib/SdoAbortCodes.h"
#include "ui/Icons.h"
#include "ui/OperationGuard.h"
#include "ui/grid/GridDelegate.h"
#include "ui/grid/GridModel.h"
#include "ui/grid/ParameterGrid.h"

#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace devicetest {
namespace {

// A world of one kind with an amplifier connected and the grid built and filled.
struct GridWorld {
    explicit GridWorld(int32_t kind = CANBus, uint8_t node = QsgNode)
        : world(kind), grid(world.state(), GridHooks{guard, [this] { ++pauses; }, [this] { ++resumes; }})
    {
        world.connectDevice(node);
        grid.resize(600, 800);
        grid.InitParameterGroup();
        grid.refreshValues();
        world.host().messages.clear();
        world.clearTraffic();
    }
    GridModel& model() const { return grid.gridModel(); }
    const GridRow& row(const QString& path) const
    {
        const int index = model().rowOf(path);
        EXPECT_GE(index, 0) << path.toStdString();
        return model().row(std::max(index, 0));
    }
    QVariant value(const QString& path, int role = Qt::DisplayRole) const
    {
        return model().cell(path, gridcol::Value).data(role);
    }
    void refresh(const QString& path) { model().refreshRow(model().rowOf(path)); }
    bool visible(const QString& path) const { return grid.visualRect(model().cell(path, gridcol::Text)).isValid(); }
    void key(const QString& path, int key)
    {
        grid.setCurrentIndex(model().cell(path, gridcol::Text));
        QTest::keyClick(&grid, Qt::Key(key));
    }

    DeviceWorld world;
    OperationGuard guard;
    int pauses = 0;
    int resumes = 0;
    ParameterGrid grid;
};

const QString Details = QStringLiteral("Détails...");

TEST(ParameterGrid, RowsFollowTheDescriptionAndTheInterface)
{
    const struct {
        const char* path;
        GridCell cell;
        const char* caption;
        bool onCan;
        bool onSerial;
    } cases[] = {
        {"Common", GridCell::None, "", true, true},
        {"Common/VendorID", GridCell::Text, "", true, true},          // read-only enumeration
        {"Common/ChannelName", GridCell::Edit, "", true, true},
        {"Common/ParameterLock", GridCell::Check, "", true, true},
        {"Amplifier/BridgeType", GridCell::List, "", true, true},
        {"Measurement/StatusLong", GridCell::Button, "Détails...", true, true},
        {"Measurement/ResetPeak", GridCell::Button, "Réinitialiser", true, true},
        {"Measurement/AdcRawValue", GridCell::None, "", false, false},  // hidden
        {"Measurement/StatusLong/CANBusOff", GridCell::None, "", false, false},  // a bit, no member
        {"Interface/CANBitRate", GridCell::List, "", true, false},
        {"Interface/SerialBaudRate", GridCell::List, "", false, true},
        {"PDO", GridCell::Button, "Détails...", true, false},
        {"TEDS", GridCell::Button, "Détails...", true, true},
    };
    for (int32_t kind : {CANBus, RS232}) {
        SCOPED_TRACE(kindName(kind));
        GridWorld w(kind);
        EXPECT_EQ(w.model().row(0).path, "Common");
        EXPECT_EQ(w.model().row(1).path, "Common/VendorID");
        for (const auto& c : cases) {
            const QString path = QString::fromLatin1(c.path);
            const int row = w.model().rowOf(path);
            EXPECT_EQ(row >= 0, kind == CANBus ? c.onCan : c.onSerial) << c.path;
            if (row < 0)
                continue;
            EXPECT_EQ(w.model().row(row).cell, c.cell) << c.path;
            if (c.cell == GridCell::Button)
                EXPECT_EQ(w.value(path).toString(), QString::fromUtf8(c.caption)) << c.path;
        }
    }
}

TEST(ParameterGrid, ValuesComeFromTheirSourceInTheirFormatAndStyle)
{
    GridWorld w;
    w.world.configure("Scaling/PhysicalUnit", "1");   // N
    w.world.configure("Amplifier/NominalLoad", "2000000");
    w.world.configure("Amplifier/Sensitivity", "12345");
    w.world.configure("Common/SerialNumber", "Document");
    w.world.put("Amplifier/NominalLoad", le(0, 4));
    const QColor green(0x00, 0xFF, 0x00), window(0xF0, 0xF0, 0xF0), white(Qt::white), black(Qt::black);
    const struct {
        const char* path;
        const char* shown;
        int reads;           // device reads of the row's refresh
        QColor background;
        QColor foreground;
    } cases[] = {
        {"Amplifier/NominalLoad", "2.0000E+06 N", 0, white, black},   // stored, unit from the scaling
        {"Amplifier/Sensitivity", "1.2345 mV/V", 0, white, black},
        {"Common/SerialNumber", "Document", 0, window, black},        // read-only stored
        {"Common/OperatingHours", "0 h", 1, black, green},         // read-only live
        {"Common/Password", "", 0, white, black},                      // write-only
    };
    for (const auto& c : cases) {
        const QString path = QString::fromLatin1(c.path);
        w.world.clearTraffic();
        w.refresh(path);
        EXPECT_EQ(w.value(path).toString(), QString::fromUtf8(c.shown)) << c.path;
        EXPECT_EQ(w.world.traffic().reads, c.reads) << c.path;
        EXPECT_EQ(w.value(path, Qt::BackgroundRole).value<QColor>(), c.background) << c.path;
        EXPECT_EQ(w.value(path, Qt::ForegroundRole).value<QColor>(), c.foreground) << c.path;
    }
    const QFont display = w.value("Common/OperatingHours", Qt::FontRole).value<QFont>();
    EXPECT_EQ(display.family(), "Tahoma");
    EXPECT_EQ(display.pointSize(), 12);
    EXPECT_TRUE(display.bold());
    EXPECT_TRUE(w.world.host().messages.empty()) << w.world.host().texts().join('\n').toStdString();
}

TEST(ParameterGrid, EnumerationValueWithoutItemIsReportedAndLeavesTheCell)
{
    const struct {
        const char* path;
        const char* stored;
        const char* message;
    } cases[] = {
        {"Amplifier/BridgeType", "26",
         "La valeur26 (0x1A) non est admise pour 'Amplifier/BridgeType' le type d'énumération !"},
        {"Amplifier/Filter", "9", "Valeur '9' non est admise pour 'Amplifier/Filter' le type d'énumération !"},
    };
    GridWorld w;
    for (const auto& c : cases) {
        const QString path = QString::fromLatin1(c.path);
        const QString before = w.value(path).toString();
        ASSERT_FALSE(before.isEmpty());
        w.world.configure(path, QString::fromLatin1(c.stored));
        w.world.host().messages.clear();
        w.refresh(path);
        EXPECT_EQ(w.world.host().texts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(w.value(path).toString(), before);
    }
}

TEST(ParameterGrid, StatusMarkKeepsTheFailedReadForItsToolTip)
{
    GridWorld w;
    const QString path = QStringLiteral("Common/OperatingHours");
    const QModelIndex mark = w.model().cell(path, gridcol::NestedMark);
    w.world.amplifier().refuseAt(SimDirection::Read, *w.world.amplifier().keyOfPath(path), sdoabort::NoObject);
    w.refresh(path);
    EXPECT_LT(w.row(path).status, 0);
    EXPECT_FALSE(mark.data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(mark.data(Qt::ToolTipRole).toString(), w.row(path).statusText);
    EXPECT_FALSE(w.row(path).statusText.isEmpty());

    w.world.amplifier().clearFaults();
    w.refresh(path);
    EXPECT_EQ(w.row(path).status, 0);
    EXPECT_TRUE(mark.data(Qt::DecorationRole).isNull());
    EXPECT_EQ(mark.data(Qt::ToolTipRole), w.model().cell(path, gridcol::Text).data(Qt::ToolTipRole));
}

TEST(ParameterGrid, EditsEndInTheirResults)
{
    const QString channel = QStringLiteral("Common/ChannelName");
    const QString notSet = QStringLiteral("Paramètre 'Nom de la voie': Erreur lors de la mise du paramètre !");
    enum Device { Takes, Refuses, Silent };
    const struct {
        const char* name;
        const char* path;
        const char* text;
        Device device;
        QStringList messages;
        int windowRefreshes;
        int reads;              // of the edit; the stored name is read back only after a refusal, twice
        const char* onDevice;   // afterwards, for the channel name
    } cases[] = {
        {"taken", "Common/ChannelName", "Voie 7", Takes, {}, 0, 0, "Voie 7          "},
        {"refused", "Common/ChannelName", "Voie 8", Refuses, {notSet}, 1, 2, nullptr},
        {"reload", "Amplifier/MeasuringRange", "", Takes, {}, 1, -1, nullptr},
        {"no date", "Common/CalibrationDate", "31/02/2024", Takes, {QStringLiteral("Date non valide !")}, 0, 0, nullptr},
        // The net gives up on the device once: the name is not read back a second time.
        {"device gone", "Common/ChannelName", "Voie 9", Silent,
         {"Le nombre maximal de tentatives de mesure a été dépassé !\r\nMessage d'erreur : Erreur de bus CAN : "
          "Timeout\r\n\r\nTous les appareils sont déconnectés.",
          notSet},
         2, 3, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GridWorld w;
        const QString path = QString::fromLatin1(c.path);
        const QByteArray before = w.world.onDevice(channel);
        QString text = QString::fromUtf8(c.text);
        if (text.isEmpty())   // another range than the one set
            text = w.row(path).entries.at(w.row(path).entries.indexOf(w.value(path).toString()) == 0 ? 1 : 0);
        if (c.device == Refuses)
            w.world.amplifier().refuseAt(SimDirection::Write, *w.world.amplifier().keyOfPath(path), sdoabort::General);
        w.world.amplifier().setSilent(c.device == Silent);
        w.grid.cellEdited(path, text);
        QStringList shown = w.world.host().texts();
        shown.removeIf([](const QString& m) { return m.startsWith("DeviceSetValue(): "); });
        EXPECT_EQ(shown, c.messages);
        EXPECT_EQ(w.world.host().windowRefreshes, c.windowRefreshes);
        if (c.reads >= 0)
            EXPECT_EQ(w.world.traffic().reads, c.reads);
        EXPECT_EQ(w.pauses, 1);
        EXPECT_EQ(w.resumes, 1);
        if (c.onDevice)
            EXPECT_EQ(w.world.onDevice(channel), QByteArray(c.onDevice));
        else
            EXPECT_EQ(w.world.onDevice(channel), before);
        w.grid.refreshValues();
        EXPECT_EQ(w.value(channel).toString(), QString::fromLatin1(w.world.onDevice(channel)).remove(QChar(0)).trimmed());
        if (std::string(c.name) == "reload") {
            EXPECT_EQ(w.value(path).toString(), text);
        }
    }
}

TEST(ParameterGrid, HexBlocksAreEnteredAsPairsOfDigits)
{
    const QString path = QStringLiteral("Common/UserData");
    const QString refused = QStringLiteral("Valeur hexadécimale non valide : '%1' (paires de chiffres hexadécimaux, "
                                           "32 octets au plus)");
    const struct {
        QString text;
        QByteArray written;   // empty: refused, the device keeps its block
    } cases[] = {
        {"0a 1B ff", QByteArray::fromHex("0a1bff")},
        {"ABC", {}},
        {"0G", {}},
        {QString(66, QChar('7')), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        GridWorld w;
        const QByteArray before = w.world.onDevice(path);
        w.grid.cellEdited(path, c.text);
        if (c.written.isEmpty()) {
            EXPECT_EQ(w.world.host().texts().value(0), refused.arg(c.text));
            EXPECT_EQ(w.world.onDevice(path), before);
        } else {
            EXPECT_EQ(w.world.host().texts(), QStringList());
            EXPECT_TRUE(w.world.onDevice(path).startsWith(c.written));
        }
    }
}

TEST(ParameterGrid, EditsAndClicksWaitForTheGuardAndTheFilling)
{
    GridWorld w;
    const QString channel = QStringLiteral("Common/ChannelName");
    const QByteArray before = w.world.onDevice(channel);
    QSignalSpy bitMask(&w.grid, &ParameterGrid::bitMaskRequested);
    {
        OperationGuard::Scope operation(w.guard);
        w.grid.cellEdited(channel, "Pendant");
        w.grid.toggleSwitch("Common/ParameterLock");
        w.grid.clickButton("Measurement/StatusLong");
        w.grid.clickButton("Measurement/ResetPeak");
    }
    EXPECT_EQ(w.world.traffic().writes, 0);
    EXPECT_EQ(bitMask.count(), 0);
    EXPECT_EQ(w.pauses, 0);
    // Edits and clicks that arrive while rows are filled (here: during a message of
    // the refresh) are dropped.
    QSignalSpy entered(&w.model(), &GridModel::valueEntered);
    w.world.configure("Amplifier/BridgeType", "26");
    w.world.host().onMessage = [&](const QString&) {
        EXPECT_FALSE(w.model().setData(w.model().cell(channel, gridcol::Value), "Pendant"));
        w.grid.cellEdited(channel, "Pendant");
        w.grid.clickButton("Measurement/StatusLong");
    };
    w.refresh("Amplifier/BridgeType");
    w.world.host().onMessage = nullptr;
    EXPECT_EQ(w.world.host().messages.size(), 1u);
    EXPECT_EQ(entered.count(), 0);
    EXPECT_EQ(bitMask.count(), 0);
    EXPECT_EQ(w.world.traffic().writes, 0);
    EXPECT_TRUE(w.model().setData(w.model().cell(channel, gridcol::Value), "Plus tard"));
    EXPECT_EQ(entered.count(), 1);
    EXPECT_FALSE(w.model().setData(w.model().cell("Common/SerialNumber", gridcol::Value), "Lu seulement"));
    EXPECT_EQ(w.world.onDevice(channel), before);
}

TEST(ParameterGrid, SwitchesActionsAndDetailButtons)
{
    GridWorld w;
    const QString lock = QStringLiteral("Common/ParameterLock");
    const bool locked = w.row(lock).checked;
    w.key(lock, Qt::Key_Space);
    EXPECT_EQ(w.row(lock).checked, !locked);
    EXPECT_EQ(w.world.onDevice(lock), le(locked ? 0 : 1, 1));
    w.grid.toggleSwitch(lock);
    EXPECT_EQ(w.row(lock).checked, locked);
    w.world.clearTraffic();
    w.grid.toggleSwitch("ApplicationObjects/Changed");   // read-only
    EXPECT_EQ(w.world.traffic().writes, 0);

    w.world.amplifier().refuseAt(SimDirection::Write, *w.world.amplifier().keyOfPath(lock), sdoabort::General);
    w.world.host().messages.clear();
    w.grid.toggleSwitch(lock);
    QStringList shown = w.world.host().texts();
    shown.removeIf([](const QString& m) { return m.startsWith("DeviceSetValue(): "); });
    EXPECT_EQ(shown, QStringList{"Common/ParameterLock: Erreur lors de la mise du paramètre !"});

    const QString peak = QStringLiteral("Measurement/ResetPeak");
    w.world.host().messages.clear();
    w.key(peak, Qt::Key_Return);
    EXPECT_TRUE(w.world.host().messages.empty()) << w.world.host().texts().join('\n').toStdString();
    const int refreshes = w.world.host().windowRefreshes;
    w.world.clearTraffic();
    w.grid.clickButton("ZeroTare/Tare");   // asks for a reload of everything
    EXPECT_EQ(w.world.host().windowRefreshes, refreshes + 1);
    EXPECT_GT(w.world.traffic().reads, 50);
    w.world.amplifier().refuseAt(SimDirection::Write, *w.world.amplifier().keyOfPath(peak), sdoabort::General);
    w.grid.clickButton(peak);
    EXPECT_EQ(w.world.host().texts().last(), "Paramètre 'Measurement/ResetPeak' n'a pu être mis !");

    QSignalSpy bitMask(&w.grid, &ParameterGrid::bitMaskRequested);
    QSignalSpy pdo(&w.grid, &ParameterGrid::pdoWindowRequested);
    QSignalSpy teds(&w.grid, &ParameterGrid::tedsEditorRequested);
    w.key("Measurement/StatusLong", Qt::Key_Enter);
    w.grid.clickButton("PDO");
    w.grid.clickButton("TEDS");
    w.grid.clickButton("TEDS");
    ASSERT_EQ(bitMask.count(), 1);
    EXPECT_EQ(bitMask.at(0).at(0).toString(), "Measurement/StatusLong");
    EXPECT_EQ(pdo.count(), 1);
    EXPECT_EQ(teds.count(), 2);
}

// A description may hide a member of no known kind (a "Members" of a foreign namespace
// passes the schema), and a nested group may be named like the PDO group.
TEST(ParameterGrid, UnknownKindsAreNamedAndGetNoRowNorWindow)
{
    GridWorld w;
    auto document = std::make_unique<XmlDocument>();
    ASSERT_TRUE(document->loadFromMemory(
        "<DeviceDescription><ParameterGroup><Members><ParameterGroup><Name>Odd</Name><Members>"
        "<ParameterWeird><Name>W</Name></ParameterWeird><ParameterGroup><Name>PDO</Name></ParameterGroup>"
        "</Members></ParameterGroup></Members></ParameterGroup></DeviceDescription>",
        nullptr));
    const XmlNode root = document->documentElement().child("ParameterGroup");
    AppState& state = w.world.state();
    state.descriptions.push_back(std::make_unique<Description>(std::move(document), root));
    state.Devices[size_t(state.CurrentDevice)].DescriptionIndex = int32_t(state.descriptions.size() - 1);

    w.grid.InitParameterGroup();
    EXPECT_EQ(w.world.host().texts(), QStringList{"Odd/W: Type de paramètre inconnu 'ParameterWeird'!"});
    EXPECT_LT(w.model().rowOf("Odd/W"), 0);
    EXPECT_EQ(w.row("Odd/PDO").cell, GridCell::Button);
    QSignalSpy pdo(&w.grid, &ParameterGrid::pdoWindowRequested);
    w.grid.clickButton("Odd/PDO");
    EXPECT_EQ(w.world.host().texts().last(), "Type de paramètre inconnu 'ParameterGroup'!");
    EXPECT_EQ(pdo.count(), 0);
}

TEST(ParameterGrid, PeriodicRowsAreThoseOfTheBuiltDeviceAndWaitForAnOpenList)
{
    GridWorld w;
    const QStringList qsg = w.model().periodicPaths();
    EXPECT_TRUE(qsg.contains("Measurement/ValueNet"));
    EXPECT_TRUE(qsg.contains("Measurement/InputSignal"));
    w.world.clearTraffic();
    w.grid.refreshPeriodicValues();
    // Four of the twelve are bit masks, shown as buttons; one is a switch, kept in the document.
    EXPECT_EQ(qsg.size(), 12);
    EXPECT_EQ(w.world.traffic().reads, 7);

    // An open drop-down list keeps the periodic refresh away.
    const QModelIndex range = w.model().cell("Amplifier/BridgeType", gridcol::Value);
    w.grid.show();
    w.grid.edit(range);
    auto* list = w.grid.findChild<QComboBox*>();
    ASSERT_NE(list, nullptr);
    list->showPopup();
    EXPECT_TRUE(w.grid.listSuspended());
    w.world.clearTraffic();
    w.grid.refreshPeriodicValues();
    EXPECT_EQ(w.world.traffic().reads, 0);
    list->hidePopup();
    EXPECT_FALSE(w.grid.listSuspended());

    w.world.connectDevice(QsnNode);
    w.grid.InitParameterGroup();
    const QStringList qsn = w.model().periodicPaths();
    EXPECT_NE(qsn, qsg);
    XmlNode member;
    for (const QString& path : qsn) {
        ASSERT_EQ(Descr_FindNode(path, w.model().description(), member), 0) << path.toStdString();
        EXPECT_EQ(member.childText("UpdatePeriodically"), "true") << path.toStdString();
    }
}

TEST(ParameterGrid, CollapsingHidesNestedRowsAndExpandingShowsWhatWasOpen)
{
    GridWorld w;
    w.grid.show();
    const QString outer = QStringLiteral("LimitSwitches"), inner = QStringLiteral("LimitSwitches/LimitSwitch1");
    const auto shown = [&] {
        return std::vector<bool>{w.visible(inner), w.visible(inner + "/Source"), w.visible(outer + "/LimitSwitch2/Source")};
    };
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, true}));
    // A click on the nested group's mark closes it.
    QTest::mouseClick(w.grid.viewport(), Qt::LeftButton, {},
                      w.grid.visualRect(w.model().cell(inner, gridcol::NestedMark)).center());
    EXPECT_FALSE(w.row(inner).expanded);
    EXPECT_EQ(shown(), (std::vector<bool>{true, false, true}));
    w.grid.toggleGroup(outer);
    EXPECT_EQ(shown(), (std::vector<bool>{false, false, false}));
    w.grid.toggleGroup(outer);
    EXPECT_TRUE(w.row(outer).expanded);
    EXPECT_EQ(shown(), (std::vector<bool>{true, false, true}));
    const auto mark = [&](const QString& path, int column) {
        return w.model().cell(path, column).data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage();
    };
    EXPECT_EQ(mark(inner, gridcol::NestedMark), Icon("IMG_PLUS").pixmap(16).toImage());
    EXPECT_EQ(mark(outer, gridcol::Mark), Icon("IMG_MINUS").pixmap(16).toImage());
    EXPECT_TRUE(mark(outer, gridcol::NestedMark).isNull());
}

TEST(ParameterGrid, HelpOpensOnF1AndFollowsTheRowWhenAsked)
{
    GridWorld w;
    w.grid.show();
    w.world.state().core.HelpFolder.clear();   // every help shown says so
    const QModelIndex dated = w.model().cell("Common/CalibrationDate", gridcol::Text);
    const struct {
        bool following;
        int key;   // on the row above, 0 for a click on the row
        int helps;
    } cases[] = {
        {false, Qt::Key_Down, 0}, {true, Qt::Key_Down, 1}, {false, 0, 0}, {true, 0, 1}, {false, Qt::Key_F1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.following << ' ' << c.key);
        w.world.state().core.FollowingHelp = c.following;
        w.grid.setCurrentIndex(c.key == Qt::Key_F1 ? dated : w.grid.indexAbove(dated));
        w.world.host().messages.clear();
        if (c.key)
            QTest::keyClick(&w.grid, Qt::Key(c.key));
        else
            QTest::mouseClick(w.grid.viewport(), Qt::LeftButton, {}, w.grid.visualRect(dated).center());
        EXPECT_EQ(w.world.host().texts(), QStringList(c.helps, QStringLiteral("Aucune aide disponible !")));
    }
}

TEST(ParameterGrid, KeyboardEditsAndCancels)
{
    GridWorld w;
    w.grid.show();
    // Typing finds a row by its text, from whatever cell of the row the keyboard stands on.
    w.grid.setCurrentIndex(w.model().index(0, gridcol::Mark));
    QTest::keyClicks(&w.grid, "Date");
    EXPECT_EQ(w.grid.currentIndex().data(GridModel::PathRole).toString(), "Common/CalibrationDate");
    const QString channel = QStringLiteral("Common/ChannelName");
    w.key(channel, Qt::Key_F2);
    QLineEdit* editor = w.grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "X");
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.grid.findChild<QLineEdit*>(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.world.traffic().writes, 0);

    w.key(channel, Qt::Key_Return);
    editor = w.grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "Clavier");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();   // the editor commits
    QCoreApplication::processEvents();   // the grid writes
    EXPECT_EQ(w.world.onDevice(channel), "Clavier         ");

    // Arrows on a closed list only browse its entries: Escape keeps the value, Enter writes the one shown.
    const QString bridge = QStringLiteral("Amplifier/BridgeType");
    const QString before = w.value(bridge).toString();
    for (const int end : {Qt::Key_Escape, Qt::Key_Return}) {
        w.key(bridge, Qt::Key_Return);
        auto* list = w.grid.findChild<QComboBox*>();
        ASSERT_NE(list, nullptr);
        const int shown = list->currentIndex();
        QTest::keyClick(list, shown == 0 ? Qt::Key_Down : Qt::Key_Up);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.grid.findChild<QComboBox*>(), list);
        EXPECT_EQ(w.value(bridge).toString(), before);
        const QString browsed = list->currentText();
        QTest::keyClick(list, Qt::Key(end));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(w.value(bridge).toString(), end == Qt::Key_Escape ? before : browsed);
    }
}

}  // namespace
}  // namespace devicetest
