// The PDO window against the simulated CAN net: what it reads of both shipped families,
// the writes a mapping change makes on the amplifier, the transmission modes, and the
// store, factory-settings and restart commands.
#include "device/device_fixture.h"

#include "core/Host.h"
#include "sim/SdoTarget.h"
#include "ui/frmMain.h"
#include "ui/pdo/PdoObjects.h"
#include "ui/pdo/frmPDO.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QSet>
#include <QPushButton>

namespace devicetest {
namespace {

constexpr uint32_t Net = 570425888, Status = 570426144;  // 0x2200/2 and /3, 32 bits
const QString DefaultSend1 = QStringLiteral("2200 (hex), 1, 32; 2200 (hex), 3, 32");
const QString Question = QStringLiteral("Terminer le PDO mapping ?");

QStringList texts(const QList<QWidget*>& widgets)
{
    QStringList shown;
    for (QWidget* widget : widgets) {
        if (auto* label = qobject_cast<QLabel*>(widget))
            shown << label->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(widget))
            shown << frame->title();
    }
    return shown;
}

// The main window on the demo rack with the PDO window open for one device.
struct PdoWorld {
    explicit PdoWorld(uint8_t node = QsgNode) : world(CANBus), window(world.state(), nullptr)
    {
        world.connectDevice(node);
        window.showPdoWindow();
        pdo = window.findChild<frmPDO*>(QStringLiteral("frmPDO"));
    }
    template <typename T>
    QList<T*> all(const char* name) const { return pdo->findChildren<T*>(QLatin1String(name)); }
    QStringList shown(const char* name) const
    {
        QList<QWidget*> widgets;
        for (QWidget* widget : all<QWidget>(name))
            widgets << widget;
        return texts(widgets);
    }
    void click(const char* name, int n = 1) { all<QPushButton>(name).at(n - 1)->click(); }
    void choose(const char* combo, int n, const QString& text)
    {
        QComboBox* list = all<QComboBox>(combo).at(n - 1);
        list->setCurrentIndex(list->findText(text));
    }
    QStringList writes(uint8_t node = QsgNode)
    {
        QStringList made;
        for (const SimWrite& w : world.amplifier(node).writeJournal())
            made << QStringLiteral("%1/%2 %3 %4")
                        .arg(w.key.index, 4, 16, QLatin1Char('0'))
                        .arg(w.key.sub)
                        .arg(QString::fromLatin1(w.data.toHex()))
                        .arg(w.abort, 0, 16);
        return made;
    }

    DeviceWorld world;
    frmMain window;
    QPointer<frmPDO> pdo;
};

TEST(PdoTexts, TransmissionModesMappingsAndParameters)
{
    const std::pair<int, const char*> modes[] = {
        {0, "Aucune transmission de PDO"},
        {1, "Transmission cyclique immédiatement après la réception d'un message SYNC"},
        {5, "Transmission cyclique après la réception de 5 messages SYNC"},
        {240, "Transmission cyclique après la réception de 240 messages SYNC"},
        {241, ""},
        {253, ""},
        {254, "Transmission cyclique selon le réglage avec l'objet 3400, indépendemment des messages SYNC"},
        {255, ""},
    };
    for (const auto& [value, text] : modes)
        EXPECT_EQ(PDO_TransferModeText(value), QString::fromUtf8(text)) << value;
    EXPECT_EQ(PDO_MappingText({}), "Non utilisé");
    EXPECT_EQ(PDO_MappingText({0x1A2B0310, 0x22000408}), "1A2B (hex), 3, 16; 2200 (hex), 4, 8");
    EXPECT_EQ(PDO_SendParametersText(0x800001AB, 0), "CAN-ID.:800001AB (hex), Mode de transmission : "
                                                     "Aucune transmission de PDO");
}

TEST(PdoWindow, ShowsThePdosEachFamilyDescribes)
{
    const QString sendKnown[] = {"Non utilisé", "Valeur brute", "Valeur nette", "Valeur nette et état de l'appareil",
                                 "Valeur brute et valeur nette", "Mots d'état", "Valeurs de crête"};
    const QString cyclic3400 = "Mode de transmission : Transmission cyclique selon le réglage avec l'objet 3400, "
                               "indépendemment des messages SYNC";
    const struct {
        uint8_t node;
        QStringList recvFrames, recvKnown, sendFrames, sendCurrent, paraFrames, paraCurrent;
    } cases[] = {
        {QsgNode,
         {"PDO1 1600 (hex) :", "PDO2 1601 (hex) :"},
         {"Non utilisé", "Sorties numériques", "Commande de tarage", "Mot de commande"},
         {"PDO1 1A00 (hex) :", "PDO2 1A01 (hex) :", "PDO3 1A02 (hex) :", "PDO4 1A03 (hex) :"},
         {DefaultSend1, "Non utilisé", "Non utilisé", "Non utilisé"},
         {"Paramètres de transmission PDO1 1800 (hex) :", "Paramètres de transmission PDO2 1801 (hex) :",
          "Paramètres de transmission PDO3 1802 (hex) :", "Paramètres de transmission PDO4 1803 (hex) :"},
         {"CAN-ID.:183 (hex), " + cyclic3400, "CAN-ID.:283 (hex), " + cyclic3400, "CAN-ID.:383 (hex), " + cyclic3400,
          "CAN-ID.:483 (hex), " + cyclic3400}},
        {QsnNode,
         {"PDO1 1600 (hex) :"},
         {"Non utilisé", "Commande de tarage", "Mot de commande"},
         {"PDO1 1A00 (hex) :", "PDO2 1A01 (hex) :"},
         {DefaultSend1, "Non utilisé"},
         {"Paramètres de transmission PDO1 1800 (hex) :", "Paramètres de transmission PDO2 1801 (hex) :"},
         {"CAN-ID.:191 (hex), " + cyclic3400, "CAN-ID.:291 (hex), " + cyclic3400}},
    };
    for (const auto& c : cases) {
        PdoWorld w(c.node);
        ASSERT_TRUE(w.pdo) << c.node;
        EXPECT_EQ(w.pdo->windowTitle(), "Paramètres PDO (objets de communication)");
        EXPECT_EQ(w.shown("FrameSubRecvPDO"), c.recvFrames) << c.node;
        EXPECT_EQ(w.shown("LabelCurrentPDORecv"), QStringList(c.recvFrames.size(), "Non utilisé")) << c.node;
        EXPECT_EQ(w.shown("FrameSubSendPDO"), c.sendFrames) << c.node;
        EXPECT_EQ(w.shown("LabelCurrentPDOSend"), c.sendCurrent) << c.node;
        EXPECT_EQ(w.shown("FrameSubSendPara"), c.paraFrames) << c.node;
        EXPECT_EQ(w.shown("LabelCurrentSendPara"), c.paraCurrent) << c.node;
        QStringList recvItems, sendItems;
        for (int i = 0; i < w.all<QComboBox>("ComboPDORecv").at(0)->count(); ++i)
            recvItems << w.all<QComboBox>("ComboPDORecv").at(0)->itemText(i);
        for (int i = 0; i < w.all<QComboBox>("ComboPDOSend").at(0)->count(); ++i)
            sendItems << w.all<QComboBox>("ComboPDOSend").at(0)->itemText(i);
        EXPECT_EQ(recvItems, c.recvKnown) << c.node;
        EXPECT_EQ(sendItems, QStringList(std::begin(sendKnown), std::end(sendKnown))) << c.node;

        w.window.CloseDeviceViews();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(w.pdo.isNull()) << c.node;
    }
}

TEST(PdoWindow, MappingChangeWritesCountZeroEntriesThenCount)
{
    auto hex = [](uint32_t v) { return QString::fromLatin1(le(v, 4).toHex()); };
    const QString off = "2f00/1 00 0", on = "2f00/1 01 0";
    const QString timeout = "DeviceSetValue(): PDO/AllowOperational : Timeout!";
    enum Obstacle { None, Busy, Silent };
    const struct {
        const char* what;
        bool send;
        const char* choice;
        std::deque<int> answers;
        Obstacle obstacle;
        QStringList writes;
        QString current;
        QStringList messages;
    } cases[] = {
        {"transmit, two entries", true, "Valeur nette et état de l'appareil", {msg::Yes}, None,
         {off, "1a00/0 00000000 0", "1a00/1 " + hex(Net) + " 0", "1a00/2 " + hex(Status) + " 0",
          "1a00/0 02000000 0", on},
         "2200 (hex), 2, 32; 2200 (hex), 3, 32", {Question}},
        {"receive, one entry", false, "Commande de tarage", {msg::Yes}, None,
         {off, "1600/0 00000000 0", "1600/1 " + hex(604110856) + " 0", "1600/0 01000000 0", on}, "2402 (hex), 0, 8", {Question}},
        {"not used", true, "Non utilisé", {msg::Yes}, None,
         {off, "1a00/0 00000000 0", "1a00/0 00000000 0", on}, "Non utilisé", {Question}},
        {"too long for a PDO: the count is refused, the state shows it", true, "Mots d'état", {msg::Yes}, None,
         {off, "1a00/0 00000000 0", "1a00/1 " + hex(Status) + " 0", "1a00/2 " + hex(570426376) + " 0",
          "1a00/3 " + hex(654311712) + " 0",
          "1a00/0 03000000 6040042", on},
         "Non utilisé", {Question}},
        {"declined", true, "Valeur brute", {msg::No}, None, {}, DefaultSend1, {Question}},
        {"while another operation runs", true, "Valeur brute", {}, Busy, {}, DefaultSend1, {}},
        // One message says the bus gave up; the window reads nothing more of the device it lost.
        {"device gone", true, "Valeur brute", {msg::Yes}, Silent, {}, DefaultSend1,
         {Question, timeout, timeout, "Erreur lors de la mise du PDO mapping : 'Erreur de bus CAN : Timeout' (-16501)",
          "Le nombre maximal de tentatives de mesure a été dépassé !\r\nMessage d'erreur : Erreur de bus CAN : "
          "Timeout\r\n\r\nTous les appareils sont déconnectés."}},
    };
    for (const auto& c : cases) {
        PdoWorld w;
        w.world.host().messages.clear();
        w.world.host().answers = c.answers;
        w.world.amplifier().startWriteJournal();
        w.world.amplifier().setSilent(c.obstacle == Silent);
        w.choose(c.send ? "ComboPDOSend" : "ComboPDORecv", 1, QString::fromUtf8(c.choice));
        {
            OperationGuard other;
            OperationGuard::Scope held(c.obstacle == Busy ? w.window.operationGuard() : other);
            w.click(c.send ? "cmdButtonApplySend" : "cmdButtonApplyRecv");
        }
        EXPECT_EQ(w.writes(), c.writes) << c.what;
        EXPECT_EQ(w.shown(c.send ? "LabelCurrentPDOSend" : "LabelCurrentPDORecv").at(0), c.current) << c.what;
        EXPECT_EQ(w.world.host().texts(), c.messages) << c.what;
        EXPECT_EQ(w.world.onDevice(QStringLiteral("PDO/AllowOperational")), QByteArray(1, 1)) << c.what;
    }
}

TEST(PdoWindow, TransmissionModeGoesToTheDeviceWhenItTakesIt)
{
    const struct {
        const char* typed;
        int onDevice;
        const char* shownMode;
        int messages;
    } cases[] = {
        {"5", 5, "Transmission cyclique après la réception de 5 messages SYNC", 0},
        {"0,6", 1, "Transmission cyclique immédiatement après la réception d'un message SYNC", 0},
        {"241", 254, "Transmission cyclique selon le réglage avec l'objet 3400, indépendemment des messages SYNC", 1},
    };
    for (const auto& c : cases) {
        PdoWorld w;
        w.world.host().messages.clear();
        QLineEdit* mode = w.all<QLineEdit>("TextTransferMode").at(1);
        mode->setText(QString::fromUtf8(c.typed));
        emit mode->returnPressed();
        EXPECT_EQ(w.world.onDevice(QStringLiteral("PDO/Mappings/SendParametersTransferMode2")),
                  QByteArray(1, char(c.onDevice)))
            << c.typed;
        EXPECT_EQ(w.shown("LabelCurrentSendPara").at(1),
                  "CAN-ID.:283 (hex), Mode de transmission : " + QString::fromUtf8(c.shownMode))
            << c.typed;
        EXPECT_EQ(int(w.world.host().messages.size()), c.messages) << c.typed;
    }
}

TEST(PdoWindow, StoreFactorySettingsAndRestart)
{
    const QString net = QStringLiteral("2200 (hex), 2, 32");
    const struct {
        const char* what;
        std::vector<const char*> buttons;
        bool refuseStore;
        QString send1;
        QStringList messages;
    } cases[] = {
        {"restarted unstored", {"cmdButtonRestart"}, false, DefaultSend1, {}},
        {"stored, then restarted", {"cmdButtonCommSave", "cmdButtonRestart"}, false, net, {}},
        {"stored, then factory settings", {"cmdButtonCommSave", "cmdButtonCommFactorySettings"}, false, DefaultSend1,
         {}},
        {"store refused", {"cmdButtonCommSave", "cmdButtonRestart"}, true, DefaultSend1,
         {"Paramètre 'PDO/Mappings/SaveComm' n'a pu être mis !"}},
    };
    for (const auto& c : cases) {
        PdoWorld w;
        w.world.host().answers = {msg::Yes};
        w.choose("ComboPDOSend", 1, QStringLiteral("Valeur nette"));
        w.click("cmdButtonApplySend");
        ASSERT_EQ(w.shown("LabelCurrentPDOSend").at(0), net) << c.what;
        if (c.refuseStore)
            w.world.amplifier().refuseAt(SimDirection::Write, {0x1010, 2}, sdoabort::CannotStore);
        w.world.host().messages.clear();
        for (const char* name : c.buttons) {
            w.world.host().answers.push_back(msg::Yes);  // the action's own question
            w.click(name);
        }
        ASSERT_TRUE(w.pdo) << c.what;
        EXPECT_EQ(w.shown("LabelCurrentPDOSend").at(0), c.send1) << c.what;
        QStringList shown;
        for (const auto& m : w.world.host().messages) {
            if (m.style == msg::Ok)
                shown << m.text;
        }
        EXPECT_EQ(shown, c.messages) << c.what;
    }
}

// Alt and a letter activates a button only when no other caption shares the letter.
TEST(PdoWindow, EachAcceleratorLetterBelongsToOneCaption)
{
    PdoWorld w;
    QMap<QChar, QSet<QString>> captions;
    for (QPushButton* button : w.pdo->findChildren<QPushButton*>()) {
        const QString text = button->text();
        if (const qsizetype amp = text.indexOf('&'); amp >= 0)
            captions[text.at(amp + 1).toLower()].insert(text);
    }
    for (auto letter = captions.cbegin(); letter != captions.cend(); ++letter)
        EXPECT_EQ(letter->size(), 1) << QStringList(letter->values()).join(", ").toStdString();
}

TEST(PdoWindow, OnlyForCanDevices)
{
    DeviceWorld world(PROFIBUS);
    DeviceEntry& entry = world.connectDevice(QsgNode);
    int32_t cobId = 1;
    uint8_t type = 1;
    EXPECT_EQ(PDO_ReadSendParameters(world.state(), world.settings(), entry, 1, cobId, type, nullptr), -5);
    EXPECT_EQ(cobId, 0);
    std::vector<uint32_t> entries;
    EXPECT_EQ(PDO_ReadMapping(world.state(), world.settings(), entry, PDO_MappingPath(true, 1), entries, nullptr), -5);
    frmMain window(world.state(), nullptr);
    window.showPdoWindow();
    EXPECT_EQ(window.findChild<frmPDO*>(), nullptr);
}

}  // namespace
}  // namespace devicetest
