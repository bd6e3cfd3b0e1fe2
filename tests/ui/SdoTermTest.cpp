// The SDO terminal: its data types and value texts, transfers on the simulated CAN
// net, refused entries, and what it keeps in the settings.
#include "device/device_fixture.h"

#include "core/Settings.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "ui/sdo/SdoTermValues.h"
#include "ui/sdo/frmSDOTerm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

namespace devicetest {
namespace {

TEST(SdoTermValues, TypeCodesAndTextsPerDataType)
{
    const QStringList texts{"1 octet (Unsigned 8)", "2 octet (Integer 16)", "4 octet (Integer 32)",
                            "4 octet (Real 32)", "Visible string"};
    const std::vector<int32_t> codes{2, 3, 0, 1, 5};
    for (size_t i = 0; i < SdoDataTypes().size(); ++i) {
        EXPECT_EQ(SdoDataTypes()[i].text, texts[int(i)]);
        EXPECT_EQ(SdoDataTypes()[i].code, codes[i]);
        EXPECT_EQ(SdoDataTypes()[i].hexAllowed, i < 3);
    }
    const struct {
        int32_t code;
        QByteArray bytes;
        const char* decimal;
        const char* hex;
    } read[] = {
        {sdotype::Unsigned8, QByteArray("\xFF\x12\x34\x56", 4), "255", "FF"},
        {sdotype::Integer16, QByteArray("\xFE\xFF\x00\x00", 4), "-2", "FFFE"},
        {sdotype::Integer16, QByteArray("\x34\x12", 2), "4660", "1234"},
        {sdotype::Integer32, QByteArray("\xFF\xFF\xFF\xFF", 4), "-1", "FFFFFFFF"},
        {sdotype::Integer32, QByteArray("\x00\x10", 2), "4096", "1000"},
    };
    for (const auto& c : read) {
        EXPECT_EQ(SdoValueText(c.code, c.bytes, false), c.decimal) << c.code;
        EXPECT_EQ(SdoValueText(c.code, c.bytes, true), c.hex) << c.code;
    }
    EXPECT_EQ(SdoValueText(sdotype::Real32, QByteArray("\x00\x00\xC0\x3F", 4), true), floatForMessage(1.5f));

    const struct {
        int32_t code;
        const char* text;
        bool hex;
        std::optional<QByteArray> bytes;
    } sent[] = {
        {sdotype::Unsigned8, "255", false, QByteArray("\xFF", 1)},
        {sdotype::Unsigned8, "256", false, std::nullopt},
        {sdotype::Unsigned8, "-1", false, std::nullopt},
        {sdotype::Integer16, "-2", false, QByteArray("\xFE\xFF", 2)},
        {sdotype::Integer16, "FFFE", true, QByteArray("\xFE\xFF", 2)},
        {sdotype::Integer16, "10000", true, std::nullopt},
        {sdotype::Integer32, "-2147483648", false, QByteArray("\x00\x00\x00\x80", 4)},
        {sdotype::Integer32, "1x", false, std::nullopt},
        {sdotype::Real32, "1,5", false, QByteArray("\x00\x00\xC0\x3F", 4)},
    };
    for (const auto& c : sent)
        EXPECT_EQ(SdoValueBytes(c.code, c.text, c.hex), c.bytes) << c.text;

    EXPECT_EQ(SdoConvertBase(sdotype::Integer16, "-1", true), "FFFF");
    EXPECT_EQ(SdoConvertBase(sdotype::Integer16, "FFFF", false), "-1");
    EXPECT_EQ(SdoConvertBase(sdotype::Integer32, "", true), "0");
    EXPECT_EQ(SdoHexNumber("1000"), 0x1000u);
    EXPECT_EQ(SdoHexNumber("6g"), 0u);
}

// The terminal opened on the demo rack, with or without a connected current device.
struct TermWorld {
    explicit TermWorld(bool connected = false)
    {
        if (connected)
            world.connectDevice();
        window = std::make_unique<frmSDOTerm>(world.state(), guard);
    }
    template <typename T>
    T* find(const char* name) const { return window->findChild<T*>(QLatin1String(name)); }
    void enter(const char* index, const char* sub, int type, const char* value = "")
    {
        find<QComboBox>("Index")->setEditText(QString::fromUtf8(index));
        find<QLineEdit>("SubIndex")->setText(QString::fromUtf8(sub));
        find<QComboBox>("ComboDataType")->setCurrentIndex(type);
        find<QLineEdit>("Datas")->setText(QString::fromUtf8(value));
    }
    QStringList history() const
    {
        QStringList entries;
        for (int i = 0; i < find<QComboBox>("Index")->count(); ++i)
            entries << find<QComboBox>("Index")->itemText(i);
        return entries;
    }

    DeviceWorld world{CANBus};
    OperationGuard guard;
    std::unique_ptr<frmSDOTerm> window;
};

TEST(frmSDOTerm, TransfersShowTheirValuesOrTheirFailures)
{
    const QString abortText = QStringLiteral("Erreur CiA : 'Error class 6, error %1, additional code %2 (hex)\n"
                                             "Description :%3'");
    const struct {
        const char* name;
        const char* index;
        const char* sub;
        int type;
        bool hexSend;
        const char* value;  // sent first when not null
        bool hexRecv;
        const char* answer;  // read after the write when not null; else Answer stays empty
        QString status;
        QStringList messages;
        QStringList log;
    } cases[] = {
        {"short in hex and back in decimal", "2601", "5", 1, true, "3E8", false, "1000", {}, {}, {}},
        {"short in decimal and back in hex", "2601", "5", 1, false, "1234", true, "4D2", {}, {}, {}},
        {"device type in hex", "1000", "0", 2, false, nullptr, true, "194", {}, {}, {}},
        {"missing object", "5FFF", "0", 2, false, nullptr, false, "",
         abortText.arg(2).arg(0).arg("The object does not exist in the dictionary"), {},
         {"Node ID 3: Error -16503 while synchronuous read of SDO with index 24575, sub index 0"}},
        {"read-only object", "1000", "0", 2, false, "1", false, nullptr,
         abortText.arg(1).arg(2).arg("Attempt to write a read only object"), {"Erreur lors de l'écriture (-16503)!"},
         {"Node ID 3: Error -16503 while synchronuous write of SDO (index 4096, sub index 0)"}},
        {"bad value", "2601", "5", 0, false, "300", false, nullptr, {},
         {"Valeur incorrecte pour le format '1 octet (Unsigned 8)' : '300'"}, {}},
        {"no index", "", "0", 2, false, nullptr, false, "", {}, {"Numéro d'objet incorrect ou manquant :0"}, {}},
        {"index 0", "0", "0", 2, false, nullptr, false, "", {}, {"Numéro d'objet incorrect ou manquant :0"}, {}},
        {"sub-index 256", "1000", "100", 2, false, nullptr, false, "", {},
         {"Numéro de sous-index incorrect ou manquant :256"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TermWorld t(true);
        ASSERT_EQ(t.find<QComboBox>("IDList")->currentText(), QString::number(QsgNode)) << "the current device's node";
        t.enter(c.index, c.sub, c.type, c.value ? c.value : "");
        t.find<QCheckBox>("CheckHexSend")->setChecked(c.hexSend);
        t.find<QCheckBox>("CheckHexRecv")->setChecked(c.hexRecv);
        t.find<QLineEdit>("Datas")->setText(QString::fromUtf8(c.value ? c.value : ""));
        // What an earlier transfer left: every transfer starts afresh.
        t.find<QLineEdit>("Answer")->setText("7");
        t.find<QLabel>("SBarText")->setText("Timeout!");
        if (c.value)
            t.window->ctlButtonSend_Click();
        if (c.answer)
            t.window->ctlButtonRecv_Click();
        EXPECT_EQ(t.find<QLineEdit>("Answer")->text(), QString::fromUtf8(c.answer ? c.answer : ""));
        EXPECT_EQ(t.find<QLabel>("SBarText")->text(), c.status);
        EXPECT_EQ(t.world.host().texts(), c.messages);
        EXPECT_EQ(t.world.logLines(), c.log);
        EXPECT_EQ(t.find<QLabel>("IOStat")->property("lamp").toString(), "green");
    }
}

TEST(frmSDOTerm, HistoryAndHexChoicesRoundTripThroughTheSettings)
{
    TermWorld w;
    EXPECT_EQ(w.history(), QStringList{"6130"});
    EXPECT_TRUE(w.find<QCheckBox>("CheckHexSend")->isChecked());
    EXPECT_TRUE(w.find<QCheckBox>("CheckHexRecv")->isChecked());
    EXPECT_EQ(w.find<QComboBox>("ComboDataType")->currentText(), "4 octet (Real 32)");
    EXPECT_FALSE(w.find<QCheckBox>("CheckHexSend")->isEnabled());
    w.find<QComboBox>("ComboDataType")->setCurrentIndex(0);
    EXPECT_TRUE(w.find<QCheckBox>("CheckHexRecv")->isEnabled());

    QStringList expected{"6130"};
    for (int n = 1; n <= 15; ++n) {
        const QString index = QString::number(0x2000 + n, 16).toUpper();
        w.find<QComboBox>("Index")->setEditText(index);
        w.find<QLineEdit>("SubIndex")->setText("100");  // refused: no transfer
        w.window->ctlButtonRecv_Click();
        w.window->ctlButtonRecv_Click();  // the same index again adds nothing
        if (expected.size() == frmSDOTerm::HistorySize)
            expected.removeAt(1);
        expected << index;
    }
    EXPECT_EQ(w.history(), expected);
    EXPECT_EQ(w.history().size(), 15);
    EXPECT_EQ(w.history().at(1), "2002") << "the second entry went first";
    w.find<QCheckBox>("CheckHexRecv")->setChecked(false);
    w.window->reject();

    QString stored;
    ASSERT_TRUE(AppConf_Find(w.world.state().core, "SDOTerminal/Hex2", stored));
    EXPECT_EQ(stored, "0");
    frmSDOTerm reopened(w.world.state(), w.guard);
    QStringList entries;
    auto* index = reopened.findChild<QComboBox*>("Index");
    for (int i = 0; i < index->count(); ++i)
        entries << index->itemText(i);
    EXPECT_EQ(entries, expected);
    EXPECT_TRUE(reopened.findChild<QCheckBox*>("CheckHexSend")->isChecked());
    EXPECT_FALSE(reopened.findChild<QCheckBox*>("CheckHexRecv")->isChecked());
}

}  // namespace
}  // namespace devicetest
