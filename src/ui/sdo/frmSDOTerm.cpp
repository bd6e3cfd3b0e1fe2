#include "ui/sdo/frmSDOTerm.h"

#include "core/Host.h"
#include "core/Log.h"
#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "transport/AppState.h"
#include "transport/ErrorText.h"
#include "transport/can/CanTexts.h"
#include "transport/can/SdoSync.h"
#include "transport/can/SdoTransfers.h"
#include "ui/Help.h"
#include "ui/DeleteWhenIdle.h"
#include "ui/Icons.h"
#include "ui/sdo/SdoTermValues.h"
#include "ui/sdo/StatusBarHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QtEndian>

namespace {

constexpr int HighestNode = 127;
constexpr uint32_t HighestIndex = 0xFFFF;
constexpr uint32_t HighestSub = 0xFF;
constexpr int LampSize = 14;
constexpr int ValueColumns = 14;
const QString FirstIndex = QStringLiteral("6130");
const QString HexSendKey = QStringLiteral("SDOTerminal/Hex1");
const QString HexRecvKey = QStringLiteral("SDOTerminal/Hex2");

QString historyKey(int n) { return QStringLiteral("SDOTerminal/History/Indice%1").arg(n); }

template <typename W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* pushed = named(new QPushButton(caption, parent), name);
    pushed->setAutoDefault(false);
    return pushed;
}

// A stored choice holding a "0" is off; any other text, none included, is on.
bool storedChoice(AppCore& core, const QString& key)
{
    QString text;
    return !AppConf_Find(core, key, text) || !text.contains(QLatin1Char('0'));
}

}  // namespace

frmSDOTerm::frmSDOTerm(AppState& state, OperationGuard& guard, QWidget* parent)
    : QDialog(parent), state_(state), guard_(guard)
{
    setObjectName(QStringLiteral("frmSDOTerm"));
    setWindowTitle(QStringLiteral("SDO-Terminal"));
    setWindowIcon(Icon(QStringLiteral("IMG_PHONE")));
    connect(this, &QDialog::finished, this, [this] { deleteWhenIdle(this, guard_); });

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(buildDevice());
    top->addWidget(buildSdo(), 1);
    layout->addLayout(top);
    auto* transfers = new QHBoxLayout;
    transfers->addWidget(buildSend());
    transfers->addWidget(buildRecv());
    layout->addLayout(transfers);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    QPushButton* help = button("cmdButtonHelp", QStringLiteral("&Aide"), this);
    QPushButton* close = button("cmdButtonClose", QStringLiteral("&Fermer"), this);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(state_.core, this, HelpTopic); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(help);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    SBar_ = named(new QStatusBar(this), "SBar");
    SBar_->setSizeGripEnabled(false);
    // Abort and bus texts are long: they wrap rather than being cut at the window's edge.
    SBarText_ = named(new QLabel(SBar_), "SBarText");
    SBarText_->setWordWrap(true);
    SBarText_->setMinimumHeight(2 * SBarText_->fontMetrics().lineSpacing());
    SBar_->addWidget(SBarText_, 1);
    layout->addWidget(SBar_);

    loadSettings();
    const int32_t current = state_.CurrentDevice;
    if (current >= 1 && current <= state_.DeviceCount && state_.Devices[current].Online &&
        state_.Devices[current].InterfaceKind == CANBus)
        IDList_->setCurrentIndex(state_.Devices[current].NodeId - 1);
    setMinimumSize(minimumSizeHint());
}

QGroupBox* frmSDOTerm::buildDevice()
{
    auto* frame = named(new QGroupBox(QStringLiteral("Appareil"), this), "FrameDevice");
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(named(new QLabel(QStringLiteral("ID noeud :"), frame), "LabelAddr"));
    IDList_ = named(new QComboBox(frame), "IDList");
    for (int node = 1; node <= HighestNode; ++node)
        IDList_->addItem(QString::number(node));
    layout->addWidget(IDList_);
    layout->addStretch(1);
    return frame;
}

QGroupBox* frmSDOTerm::buildSdo()
{
    auto* frame = named(new QGroupBox(QStringLiteral("SDO "), this), "FrameSDO");
    auto* grid = new QGridLayout(frame);
    grid->addWidget(named(new QLabel(QStringLiteral("Index d'objet (hex):"), frame), "LabelIndex"), 0, 0);
    Index_ = named(new QComboBox(frame), "Index");
    Index_->setEditable(true);
    Index_->setInsertPolicy(QComboBox::NoInsert);
    connect(Index_->lineEdit(), &QLineEdit::returnPressed, this, &frmSDOTerm::ctlButtonRecv_Click);
    grid->addWidget(Index_, 0, 1);
    IOStat_ = named(new QLabel(frame), "IOStat");
    IOStat_->setFixedSize(LampSize, LampSize);
    setLamp("white");
    grid->addWidget(IOStat_, 0, 2);
    grid->addWidget(named(new QLabel(QStringLiteral("Sous-index (1..FF hex):"), frame), "LabelSubIndex"), 1, 0);
    SubIndex_ = named(new QLineEdit(frame), "SubIndex");
    connect(SubIndex_, &QLineEdit::returnPressed, this, &frmSDOTerm::ctlButtonRecv_Click);
    grid->addWidget(SubIndex_, 1, 1);
    grid->addWidget(named(new QLabel(QStringLiteral("Format :"), frame), "LabelFormat"), 2, 0);
    ComboDataType_ = named(new QComboBox(frame), "ComboDataType");
    for (const SdoDataType& type : SdoDataTypes())
        ComboDataType_->addItem(type.text, type.code);
    grid->addWidget(ComboDataType_, 2, 1);
    grid->setColumnStretch(1, 1);
    return frame;
}

QGroupBox* frmSDOTerm::buildSend()
{
    QGroupBox* frame = buildTransfer({"FrameSend", QStringLiteral("Mettre contenu SDO"), "Datas", "CheckHexSend",
                                      "ctlButtonSend", QStringLiteral("&Envoyer")},
                                     Datas_, CheckHexSend_, &frmSDOTerm::ctlButtonSend_Click);
    Datas_->installEventFilter(this);
    connect(Datas_, &QLineEdit::returnPressed, this, &frmSDOTerm::ctlButtonSend_Click);
    return frame;
}

QGroupBox* frmSDOTerm::buildRecv()
{
    QGroupBox* frame = buildTransfer({"FrameRecv", QStringLiteral("Lire contenu SDO"), "Answer", "CheckHexRecv",
                                      "ctlButtonRecv", QStringLiteral("&Lire")},
                                     Answer_, CheckHexRecv_, &frmSDOTerm::ctlButtonRecv_Click);
    Answer_->setReadOnly(true);
    return frame;
}

// One transfer frame: the value field, its hex box and the button that starts the transfer.
QGroupBox* frmSDOTerm::buildTransfer(const TransferNames& names, QLineEdit*& value, QCheckBox*& hex,
                                     void (frmSDOTerm::*start)())
{
    auto* frame = named(new QGroupBox(names.title, this), names.frame);
    auto* row = new QHBoxLayout(frame);
    value = named(new QLineEdit(frame), names.value);
    value->setMinimumWidth(value->fontMetrics().averageCharWidth() * ValueColumns);
    hex = named(new QCheckBox(QStringLiteral("hex "), frame), names.hex);
    QPushButton* go = button(names.button, names.caption, frame);
    connect(go, &QPushButton::clicked, this, start);
    row->addWidget(value, 1);
    row->addWidget(hex);
    row->addWidget(go);
    return frame;
}

void frmSDOTerm::loadSettings()
{
    CheckHexSend_->setChecked(storedChoice(state_.core, HexSendKey));
    CheckHexRecv_->setChecked(storedChoice(state_.core, HexRecvKey));
    connect(CheckHexSend_, &QCheckBox::toggled, this, [this] { convertBase(Datas_, CheckHexSend_); });
    connect(CheckHexRecv_, &QCheckBox::toggled, this, [this] { convertBase(Answer_, CheckHexRecv_); });
    connect(ComboDataType_, &QComboBox::currentIndexChanged, this, &frmSDOTerm::chooseDataType);
    ComboDataType_->setCurrentIndex(DefaultSdoDataType);
    for (int n = 1; n <= HistorySize; ++n) {
        QString text;
        if (AppConf_Find(state_.core, historyKey(n), text) && !text.trimmed().isEmpty())
            Index_->addItem(text.trimmed());
    }
    if (Index_->count() == 0)
        Index_->addItem(FirstIndex);
    Index_->setCurrentIndex(0);
}

int32_t frmSDOTerm::typeCode() const { return ComboDataType_->currentData().toInt(); }

bool frmSDOTerm::hexAllowed() const { return SdoDataTypeOf(typeCode()).hexAllowed; }

void frmSDOTerm::chooseDataType(int row)
{
    const bool integer = row >= 0 && SdoDataTypes()[size_t(row)].hexAllowed;
    CheckHexSend_->setEnabled(integer);
    CheckHexRecv_->setEnabled(integer);
}

void frmSDOTerm::convertBase(QLineEdit* value, QCheckBox* hex)
{
    value->setText(SdoConvertBase(typeCode(), value->text(), hex->isChecked()));
}

void frmSDOTerm::setLamp(const char* colour)
{
    IOStat_->setProperty("lamp", QLatin1String(colour));
    IOStat_->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid gray; border-radius: %2px;")
                               .arg(QLatin1String(colour))
                               .arg(LampSize / 2));
}

bool frmSDOTerm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Datas_ && event->type() == QEvent::FocusIn)
        setLamp("white");
    return QDialog::eventFilter(watched, event);
}

void frmSDOTerm::rememberIndex()
{
    const QString text = Index_->currentText();
    if (Index_->count() > 0 && text == Index_->itemText(Index_->count() - 1))
        return;
    if (Index_->count() >= HistorySize)
        Index_->removeItem(1);
    Index_->addItem(text.trimmed());
    Index_->setEditText(text);
}

bool frmSDOTerm::takeAddress(Address& address)
{
    Answer_->clear();
    showStatus(QString());
    setLamp("red");
    rememberIndex();
    const uint32_t index = SdoHexNumber(Index_->currentText());
    const uint32_t sub = SdoHexNumber(SubIndex_->text());
    QString refusal;
    // An index beyond 16 bits names no object; sent, it would lose its high digits.
    if (index < 1 || index > HighestIndex)
        refusal = QStringLiteral("Numéro d'objet incorrect ou manquant :%1").arg(index);
    else if (sub > HighestSub)
        refusal = QStringLiteral("Numéro de sous-index incorrect ou manquant :%1").arg(sub);
    if (!refusal.isEmpty()) {
        ShowMessage(*state_.core.host, refusal, msg::Information);
        setLamp("green");
        return false;
    }
    address = {uint8_t(IDList_->currentText().toInt()), uint16_t(index), uint8_t(sub)};
    return true;
}

QString frmSDOTerm::failureText(int32_t result, const Address& a) const
{
    CanLibrary* can = state_.buses.can.get();
    if (result == rc::CanSdoAbort && can) {
        QByteArray bytes(4, '\0');
        qToLittleEndian(can->lastAbortCode(a.node, a.index, a.sub), bytes.data());
        return abortErrorText(bytes, int32_t(bytes.size()));
    }
    const QString bus = CAN_BusStatusText(result, can ? std::max(can->getStatus(), 0) : 0);
    return bus.isEmpty() ? resultCodeText(result) : bus;
}

void frmSDOTerm::showStatus(const QString& text)
{
    SBarText_->setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void frmSDOTerm::ctlButtonRecv_Click()
{
    OperationGuard::Scope operation(guard_);
    if (!operation)
        return;
    Address a{};
    if (!takeAddress(a))
        return;
    StatusBarHost panel(*state_.core.host, *SBarText_);
    const int32_t code = typeCode();
    QString shown;
    int32_t result = 0;
    if (code == sdotype::VisibleString) {
        result = SDO_ReadString(state_, state_.CurrentInterface, a.node, a.index, a.sub, shown, &panel);
    } else {
        QByteArray bytes(4, '\0');
        int32_t length = int32_t(bytes.size());
        result = SDO_ReadSync(state_, state_.CurrentInterface, a.node, a.index, a.sub, bytes, length, &panel);
        shown = SdoValueText(code, bytes.left(length), CheckHexRecv_->isChecked() && hexAllowed());
    }
    if (result < 0) {
        showStatus(failureText(result, a));
        Log_Write(state_.core, QStringLiteral("Node ID %1: Error %2 while synchronuous read of SDO with index %3, "
                                              "sub index %4")
                                   .arg(a.node)
                                   .arg(result)
                                   .arg(a.index)
                                   .arg(a.sub));
    } else {
        Answer_->setText(shown);
    }
    setLamp("green");
}

void frmSDOTerm::ctlButtonSend_Click()
{
    OperationGuard::Scope operation(guard_);
    if (!operation)
        return;
    Address a{};
    if (!takeAddress(a))
        return;
    const int32_t code = typeCode();
    int32_t result = 0;
    if (code == sdotype::VisibleString) {
        result = SDO_WriteString(state_, state_.CurrentInterface, a.node, a.index, a.sub, Datas_->text());
    } else {
        const std::optional<QByteArray> bytes =
            SdoValueBytes(code, Datas_->text(), CheckHexSend_->isChecked() && hexAllowed());
        if (!bytes) {
            ShowMessage(*state_.core.host,
                        QStringLiteral("Valeur incorrecte pour le format '") + ComboDataType_->currentText() +
                            QStringLiteral("' : '") + Datas_->text() + QStringLiteral("'"),
                        msg::Information);
            setLamp("green");
            return;
        }
        CanLibrary* can = state_.CurrentInterface.InterfaceType == CANBus ? state_.buses.can.get() : nullptr;
        result = can ? SDO_WriteBytes(*can, a.node, a.index, a.sub, *bytes) : rc::NoInterface;
    }
    if (result < 0) {
        showStatus(failureText(result, a));
        ShowMessage(*state_.core.host, QStringLiteral("Erreur lors de l'écriture (%1)!").arg(result), msg::Ok);
        Log_Write(state_.core, QStringLiteral("Node ID %1: Error %2 while synchronuous write of SDO (index %3, "
                                              "sub index %4)")
                                   .arg(a.node)
                                   .arg(result)
                                   .arg(a.index)
                                   .arg(a.sub));
    }
    setLamp("green");
}

void frmSDOTerm::done(int result)
{
    AppConf_Ensure(state_.core);
    for (int n = 1; n <= HistorySize; ++n)
        static_cast<void>(
            AppConf_SetValue(state_.core, historyKey(n), n <= Index_->count() ? Index_->itemText(n - 1) : QString()));
    static_cast<void>(AppConf_SetValue(state_.core, HexSendKey, CheckHexSend_->isChecked() ? "-1" : "0"));
    static_cast<void>(AppConf_SetValue(state_.core, HexRecvKey, CheckHexRecv_->isChecked() ? "-1" : "0"));
    static_cast<void>(AppConf_Save(state_.core));
    QDialog::done(result);
}
