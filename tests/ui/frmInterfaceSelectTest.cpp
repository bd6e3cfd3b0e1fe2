// The interface selection and the PROFIBUS card dialog: the tree built from the libraries'
// answers, what OK, Cancel and the card buttons do, what is stored as standard interface.
#include "ui/frmInterfaceSelect.h"
#include "ui/frmProfiBusInterface.h"
#include "ui/InterfaceList.h"

#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "device/CanSetup.h"
#include "sim/devicenet/SimDeviceNetMaster.h"
#include "sim/profibus/SimProfibusMaster.h"
#include "support/ForwardingCanLibrary.h"
#include "support/QStringPrint.h"
#include "support/TestFolder.h"
#include "transport/InterfaceManager.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

void PrintTo(const InterfaceNode& node, std::ostream* os)
{
    *os << node.key.toStdString() << " <" << node.parentKey.toStdString() << "> \"" << node.text.toStdString()
        << "\" " << node.image.toStdString();
}

void PrintTo(const InterfaceChoice& choice, std::ostream* os)
{
    *os << "kind " << choice.kind << ' ' << choice.hwName.toStdString() << '/' << choice.busName.toStdString()
        << " baud " << choice.baud << " type " << choice.pType << " devno " << choice.devno;
}

namespace {

const QString SimulationNets = QStringLiteral("Simulation;Démo;20");
const QString ChooseFirst = QStringLiteral("Choisissez une interface d'abord !");

// The CAN library of the program with a net list of the test's making.
class ScriptedNets : public ForwardingCanLibrary {
public:
    ScriptedNets(QString list, int32_t result)
        : ForwardingCanLibrary(Can_CreateLibrary(TestFolder::shippedProgramFolder())),
          list_(std::move(list)), result_(result)
    {
    }
    int32_t getAvailableNets(QString& list) override
    {
        list = list_;
        return result_;
    }

private:
    QString list_;
    int32_t result_;
};

// A state whose CAN library offers `nets`, whose DeviceNet probe answers or not, and
// whose PROFIBUS cards are simulated (none without `cards`); with a settings file.
struct SelectWorld {
    explicit SelectWorld(const QString& nets = SimulationNets, int32_t netsResult = rc::Ok, bool deviceNet = true,
                         bool cards = true)
    {
        state.buses.can = std::make_unique<ScriptedNets>(nets, netsResult);
        auto master = std::make_unique<SimDeviceNetMaster>(nullptr);
        if (!deviceNet)
            master->injectStatus(DeviceNetCall::InitHw, rc::Failed);
        state.buses.devicenet = std::move(master);
        if (cards)
            state.buses.profibus = std::make_unique<SimProfibusMaster>(nullptr);
        AppConf_Create(state.core);
    }

    TestFolder folder;
    AppState& state = folder.state;
};

InterfaceSettings card(int16_t pType, int16_t devno)
{
    InterfaceSettings entry;
    entry.InterfaceType = PROFIBUS;
    entry.PType = pType;
    entry.Devno = devno;
    return entry;
}

TEST(InterfaceTree, ShowsTheCardsTheNetsTheDeviceNetRatesAndTheComPorts)
{
    SelectWorld world(QStringLiteral(" PCAN ;can0;28;PCAN;*can1;796;Simulation;Démo;20"));
    const QList<InterfaceSettings> previous{card(10, 1), InterfaceSettings{}};
    const QList<InterfaceNode> tree = InterfaceTree(InterfaceList_Build(world.state, previous, {}));
    const QString com = QStringLiteral("COM%1 (9600 Baud, 8, even, 1)");
    const QList<InterfaceNode> expected{
        {"PROFIBUS", "", "PROFIBUS", "IMG_PROFIBUS"},
        {"PROFIBUS_0", "PROFIBUS", "Maître PROFIBUS Hilscher  (Carte 1)", "IMG_PROFIBUS"},
        {"CANHardware_0", "", "PCAN", "IMG_CANBUS"},
        {"CANBus_1", "CANHardware_0", "can0 (500 kBaud)", "disconnected"},
        {"CANBus_2", "CANHardware_0", "can1 (125 kBaud)", "connected"},
        {"CANHardware_1", "", "Simulation", "IMG_CANBUS"},
        {"CANBus_3", "CANHardware_1", "Démo (1000 kBaud)", "disconnected"},
        {"DeviceNet", "", "DeviceNet", "IMG_DEVICENET"},
        {"DeviceNet_4", "DeviceNet", "500kBaud", "IMG_DEVICENET"},
        {"DeviceNet_5", "DeviceNet", "250kBaud", "IMG_DEVICENET"},
        {"DeviceNet_6", "DeviceNet", "125kBaud", "IMG_DEVICENET"},
        {"RS232", "", "RS232", "IMG_RS232"},
        {"RS232_7", "RS232", com.arg(1), "IMG_RS232"},
    };
    ASSERT_EQ(tree.size(), expected.size() + 7);
    EXPECT_EQ(tree.mid(0, expected.size()), expected);
    EXPECT_EQ(tree.last(), (InterfaceNode{"RS232_14", "RS232", com.arg(8), "IMG_RS232"}));
}

TEST(InterfaceTree, HidesWhatTheLibrariesDoNotOffer)
{
    const struct {
        const char* what;
        int32_t netsResult;
        bool deviceNet;
        QStringList topLevel;
    } cases[] = {
        {"no net list", rc::NoInterface, true, {"PROFIBUS", "DeviceNet", "RS232"}},
        {"no DeviceNet", rc::Ok, false, {"PROFIBUS", "CANHardware_0", "RS232"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SelectWorld world(SimulationNets, c.netsResult, c.deviceNet);
        QStringList topLevel;
        for (const InterfaceNode& node : InterfaceTree(InterfaceList_Build(world.state, {}, {}))) {
            if (node.parentKey.isEmpty())
                topLevel << node.key;
        }
        EXPECT_EQ(topLevel, c.topLevel);
    }
}

QTreeWidget* treeOf(frmInterfaceSelect& dialog)
{
    return dialog.findChild<QTreeWidget*>(QStringLiteral("CanBusSelectView"));
}

QTreeWidgetItem* nodeWithText(frmInterfaceSelect& dialog, const QString& text)
{
    const QList<QTreeWidgetItem*> found = treeOf(dialog)->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QStringList nodeTexts(frmInterfaceSelect& dialog)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(treeOf(dialog)); *it; ++it)
        texts << (*it)->text(0);
    return texts;
}

void clickButton(QWidget& dialog, const char* name)
{
    auto* button = dialog.findChild<QPushButton*>(QLatin1String(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Selects the node with the text (an empty text: none), then presses OK.
void selectAndOk(frmInterfaceSelect& dialog, const QString& text)
{
    QTreeWidget* tree = treeOf(dialog);
    tree->clearSelection();
    if (!text.isEmpty()) {
        QTreeWidgetItem* node = nodeWithText(dialog, text);
        ASSERT_NE(node, nullptr) << text.toStdString();
        tree->setCurrentItem(node);
    }
    clickButton(dialog, "ctlButtonOK");
}

// Runs the selection while `act` drives the shown dialog; a dialog still open after
// it is cancelled.
std::optional<InterfaceChoice> chooseAndDo(frmInterfaceSelect& dialog, const InterfaceChoice& current,
                                           const std::function<void()>& act)
{
    QTimer::singleShot(0, &dialog, [&] {
        act();
        if (dialog.isVisible())
            dialog.reject();
    });
    return dialog.choose(current);
}

const InterfaceChoice DemoNet{CANBus, "Simulation", "Démo", 1000, 0, 0};

// OK hands the chosen node back (a node that is none is refused with a message) and, with
// the box ticked, stores a choice of a storable kind as standard interface.
TEST(frmInterfaceSelect, OkHandsTheChoiceBackAndStoresItAsStandard)
{
    const InterfaceChoice before{CANBus, "Ancien", "Réseau", 125, 0, 0};
    const InterfaceChoice card3{PROFIBUS, "", "", 0, 2, 3};
    const InterfaceChoice com3{RS232, "", "", 9600, 0, 3};
    const struct {
        const char* node;  // "": nothing selected
        InterfaceChoice current;
        bool ticked;
        std::optional<InterfaceChoice> result;  // none: refused
        int32_t loaded;          // LoadStandardInterface from the saved settings file
        InterfaceChoice stored;  // what it loads
        bool firstStart = false;  // no settings yet: nothing stored before
    } cases[] = {
        {"COM3 (9600 Baud, 8, even, 1)", {}, true, com3, rc::UnknownInterface, {}},
        {"Démo (1000 kBaud)", {}, true, DemoNet, rc::Ok, DemoNet},
        {"Démo (1000 kBaud)", {}, false, DemoNet, rc::Ok, before},
        {"Démo (1000 kBaud)", {}, true, DemoNet, rc::Ok, DemoNet, true},
        {"Maître PROFIBUS SIEMENS (Carte 3)", card3, true, card3, rc::Ok, card3},
        {"125kBaud", {}, true, InterfaceChoice{DeviceNet, "", "", 2, 0, 0}, rc::Ok, {DeviceNet, "", "", 2, 0, 0}},
        {"Simulation", {}, true, std::nullopt, rc::Ok, before},
        {"RS232", {}, true, std::nullopt, rc::Ok, before},
        {"", {}, true, std::nullopt, rc::Ok, before},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node);
        SelectWorld world;
        InterfaceSettings standard;
        Interface_TakeChoice(before, standard);
        if (c.firstStart) {
            world.state.core.SettingsDocument.reset();
        } else {
            ASSERT_EQ(SaveStandardInterface(world.state, standard), rc::Ok);
            ASSERT_EQ(AppConf_Save(world.state.core), rc::Ok);
        }
        frmInterfaceSelect dialog(world.state);
        bool stayedOpen = false;
        const auto result = chooseAndDo(dialog, c.current, [&] {
            dialog.findChild<QCheckBox*>(QStringLiteral("CheckDefaultInterface"))->setChecked(c.ticked);
            selectAndOk(dialog, c.node);
            stayedOpen = dialog.isVisible();
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(stayedOpen, !c.result);
        EXPECT_EQ(world.folder.host.texts(), c.result ? QStringList{} : QStringList{ChooseFirst});
        if (!c.result) {
            EXPECT_EQ(world.folder.host.messages[0].style, msg::Information);
        }

        AppState reloaded;
        reloaded.core.host = &world.folder.host;
        AppConf_Load(reloaded.core);
        InterfaceSettings stored;
        EXPECT_EQ(LoadStandardInterface(reloaded, stored), c.loaded);
        EXPECT_EQ(Interface_ChoiceOf(stored), c.stored);
    }
}

TEST(frmInterfaceSelect, StartsOnTheCurrentInterfaceAndKeysMoveAndChoose)
{
    SelectWorld world;
    frmInterfaceSelect dialog(world.state);
    const auto result = chooseAndDo(dialog, {RS232, "", "", 9600, 0, 5}, [&] {
        QTreeWidget* tree = treeOf(dialog);
        ASSERT_NE(tree->currentItem(), nullptr);
        EXPECT_EQ(tree->currentItem()->text(0), "COM5 (9600 Baud, 8, even, 1)");
        EXPECT_EQ(dialog.focusWidget(), tree);
        QTest::keyClick(tree, Qt::Key_Down);
        // Only the node moved to stands out, in light blue.
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const QColor expected = *it == tree->currentItem() ? QColor(0xBC, 0xDC, 0xFF) : QColor(Qt::white);
            EXPECT_EQ((*it)->background(0).color(), expected) << (*it)->text(0).toStdString();
            EXPECT_FALSE((*it)->icon(0).isNull()) << (*it)->text(0).toStdString();
        }
        QTest::keyClick(tree, Qt::Key_Return);
    });
    EXPECT_EQ(result, (InterfaceChoice{RS232, "", "", 9600, 0, 6}));

    const auto cancelled = chooseAndDo(dialog, DemoNet, [&] {
        ASSERT_NE(treeOf(dialog)->currentItem(), nullptr);
        EXPECT_EQ(treeOf(dialog)->currentItem()->text(0), "Démo (1000 kBaud)");
        QTest::keyClick(treeOf(dialog), Qt::Key_Escape);
    });
    EXPECT_EQ(cancelled, std::nullopt);
}

// Acts on the PROFIBUS card dialog that the next step opens.
void onCardDialog(const std::function<void(frmProfiBusInterface&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<frmProfiBusInterface*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

QString comboText(QWidget& dialog, const char* name)
{
    return dialog.findChild<QComboBox*>(QLatin1String(name))->currentText();
}

TEST(frmInterfaceSelect, CardsAreCreatedTriedAndDeletedButNothingElse)
{
    SelectWorld world;
    frmInterfaceSelect dialog(world.state);
    const QString created = QStringLiteral("Maître PROFIBUS Hilscher  (Carte 1)");
    chooseAndDo(dialog, DemoNet, [&] {
        const QStringList before = nodeTexts(dialog);
        onCardDialog([](frmProfiBusInterface& card) {
            EXPECT_EQ(comboText(card, "ComboCardType"), "Maître PROFIBUS Hilscher");
            EXPECT_EQ(comboText(card, "ComboCardIndex"), "1");
            clickButton(card, "cmdButtonOk");
        });
        clickButton(dialog, "ctlButtonProfiBusIfCreate");
        ASSERT_NE(nodeWithText(dialog, created), nullptr);
        EXPECT_EQ(treeOf(dialog)->currentItem(), nodeWithText(dialog, created));
        // The dialog widens so that the card's text is shown whole.
        QCoreApplication::sendPostedEvents();
        const QAbstractItemView* view = treeOf(dialog);
        EXPECT_GE(view->viewport()->width(), view->sizeHintForColumn(0));
        EXPECT_FALSE(dynamic_cast<SimProfibusMaster&>(*world.state.buses.profibus).isCardOpen({10, 1}));

        for (const char* other : {"Démo (1000 kBaud)", "Simulation", "COM1 (9600 Baud, 8, even, 1)", "PROFIBUS"}) {
            treeOf(dialog)->setCurrentItem(nodeWithText(dialog, other));
            clickButton(dialog, "ctlButtonProfiBusIfDelete");
            EXPECT_EQ(nodeTexts(dialog).size(), before.size() + 1) << other;
        }
        treeOf(dialog)->setCurrentItem(nodeWithText(dialog, created));
        clickButton(dialog, "ctlButtonProfiBusIfDelete");
        EXPECT_EQ(nodeTexts(dialog), before);
    });
    EXPECT_TRUE(world.folder.host.texts().isEmpty()) << world.folder.host.texts().join('\n').toStdString();
}

TEST(frmProfiBusInterface, PreselectsTheCardAndAcceptsOnlyACardThatOpens)
{
    const QString noDriver = QStringLiteral(
        "Erreur-16002 lors de la connexion avec la carte PROFIBUS : 'Pilote (PROFIBUS DPV1 classe 2) non disponible'");
    const struct {
        const char* what;
        bool cards;  // a PROFIBUS library
        int16_t pType, devno;
        QString type, number;  // preselected
        const char* button;    // nullptr: Escape
        int result;
        QStringList messages;
        bool stayedOpen;
    } cases[] = {
        {"Hilscher 1, OK", true, 10, 1, "Maître PROFIBUS Hilscher", "1", "cmdButtonOk", 0, {}, false},
        {"SIEMENS 3, cancelled", true, 2, 3, "Maître PROFIBUS Siemens", "3", "cmdButtonCancel", 3, {}, false},
        {"Escape", true, 2, 4, "Maître PROFIBUS Siemens", "4", nullptr, 3, {}, false},
        {"a card that does not open", false, 10, 0, "Maître PROFIBUS Hilscher", "0", "cmdButtonOk", 3,
         {noDriver}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SelectWorld world(SimulationNets, rc::Ok, true, c.cards);
        frmProfiBusInterface dialog(world.state);
        bool stayedOpen = false;
        onCardDialog([&](frmProfiBusInterface& shown) {
            EXPECT_EQ(comboText(shown, "ComboCardType"), c.type);
            EXPECT_EQ(comboText(shown, "ComboCardIndex"), c.number);
            shown.findChild<QComboBox*>(QStringLiteral("ComboCardIndex"))->setCurrentText("2");
            if (c.button)
                clickButton(shown, c.button);
            else
                QTest::keyClick(&shown, Qt::Key_Escape);
            stayedOpen = shown.isVisible();
        });
        int16_t pType = c.pType;
        int16_t devno = c.devno;
        EXPECT_EQ(dialog.DefineProfibusCard(pType, devno), c.result);
        EXPECT_EQ(pType, c.pType);
        EXPECT_EQ(devno, c.result == frmProfiBusInterface::Accepted ? 2 : c.devno);
        EXPECT_EQ(world.folder.host.texts(), c.messages);
        EXPECT_EQ(stayedOpen, c.stayedOpen);
    }
}

}  // namespace
