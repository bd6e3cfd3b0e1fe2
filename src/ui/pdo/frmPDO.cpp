// The PDO window: its layout, its pages built from the device's description, and the
// display of the state read from the device.
#include "ui/pdo/frmPDO.h"

#include "model/Descriptions.h"
#include "transport/AppState.h"
#include "transport/can/SdoSync.h"
#include "ui/DeleteWhenIdle.h"
#include "ui/Icons.h"
#include "ui/WindowPlacement.h"
#include "ui/frmMain.h"
#include "ui/pdo/PdoObjects.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const QString PageCaptions[] = {QStringLiteral("PDO mappings de réception"),
                                QStringLiteral("PDO mappings de transmission"),
                                QStringLiteral("Paramètres de transmission et réception PDO")};
const char* const TabNames[] = {"cmdTabRecv", "cmdTabSend", "cmdTabSendRecvParameters"};

template <typename W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* created = named(new QPushButton(caption, parent), name);
    created->setAutoDefault(false);
    return created;
}

// "PDO1 1600 (hex) :" from the mapping object's address, "PDO1 ??? (hex):" without one.
QString mappingCaption(const Description* description, bool send, int n)
{
    XmlNode node;
    int32_t index = 0;
    uint8_t sub = 0;
    const QString pdo = QStringLiteral("PDO") + QString::number(n);
    if (Descr_FindNode(PDO_MappingPath(send, n), description, node) < 0 || SDO_GetAddress(node, index, sub) < 0)
        return pdo + QStringLiteral(" ??? (hex):");
    return pdo + QLatin1Char(' ') + QString::number(index, 16).toUpper() + QStringLiteral(" (hex) :");
}

QString cobIdPath(int n) { return QStringLiteral("PDO/Mappings/SendParametersCANId") + QString::number(n); }

QString sendParametersCaption(const Description* description, int n)
{
    XmlNode node;
    int32_t index = 0;
    uint8_t sub = 0;
    const QString pdo = QStringLiteral("Paramètres de transmission PDO") + QString::number(n);
    if (Descr_FindNode(cobIdPath(n), description, node) < 0 || SDO_GetAddress(node, index, sub) < 0)
        return pdo + QStringLiteral(" ???:");
    return pdo + QLatin1Char(' ') + QString::number(index, 16).toUpper() + QStringLiteral(" (hex) :");
}

bool described(const Description* description, const QString& path)
{
    XmlNode node;
    return Descr_FindNode(path, description, node) >= 0;
}

QLabel* wrapped(const QString& text, const char* name, QWidget* parent)
{
    auto* label = named(new QLabel(text, parent), name);
    label->setWordWrap(true);
    return label;
}

}  // namespace

frmPDO::frmPDO(AppState& state, frmMain& main) : QDialog(&main), state_(state), main_(main)
{
    setObjectName(QStringLiteral("frmPDO"));
    setWindowTitle(QStringLiteral("Paramètres PDO (objets de communication)"));
    setWindowIcon(Icon(QStringLiteral("IMG_CANBUS")));
    setModal(false);

    SBar_ = named(new QStatusBar(this), "SBar");
    SBar_->setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildCommentFrame());
    layout->addWidget(buildCommFrame());
    layout->addWidget(buildTabs(), 1);
    layout->addWidget(buildButtons());
    layout->addWidget(SBar_);
    setMinimumSize(TwipsToPixels(MinWidthTwips), TwipsToPixels(MinHeightTwips));
}

QWidget* frmPDO::buildCommentFrame()
{
    auto* frame = named(new QFrame(this), "FrameComment");
    frame->setFrameShape(QFrame::StyledPanel);
    auto* picture = named(new QLabel(frame), "PictureApplyComment");
    picture->setPixmap(IconPixmap(QStringLiteral("IMG_WARNING"), 24));
    auto* label = wrapped(
        QStringLiteral("Les paramètres PDO ne peuvent être modifiés que si l'appareil est en état 'Pré-opérationnel' !"),
        "LabelApplyComment", frame);
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(picture);
    layout->addWidget(label, 1);
    return frame;
}

QGroupBox* frmPDO::buildCommFrame()
{
    auto* frame = named(new QGroupBox(QStringLiteral("Objets de communication"), this), "FrameCommPara");
    auto* save = button(QStringLiteral("&Sauvegarder"), "cmdButtonCommSave", frame);
    auto* factory = button(QStringLiteral("Réglages d'&usine"), "cmdButtonCommFactorySettings", frame);
    auto* restartButton = button(QStringLiteral("&Redémarrer"), "cmdButtonRestart", frame);
    save->setIcon(Icon(QStringLiteral("IMG_SAVE")));
    restartButton->setIcon(Icon(QStringLiteral("IMG_RELOAD")));
    connect(save, &QPushButton::clicked, this, [this] { executeAction(QStringLiteral("PDO/Mappings/SaveComm")); });
    connect(factory, &QPushButton::clicked, this,
            [this] { executeAction(QStringLiteral("PDO/Mappings/FactorySettingsComm")); });
    connect(restartButton, &QPushButton::clicked, this, &frmPDO::restart);
    auto* label = wrapped(QStringLiteral("Tous les paramètres mentionnés dans ce dialogue sont des objets de "
                                         "communication.Tous les autres paramètres sont des objets d'application."),
                          "LabelCommObj", frame);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(factory);
    buttons->addWidget(restartButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(label);
    layout->addLayout(buttons);
    return frame;
}

QWidget* frmPDO::buildTabs()
{
    auto* box = new QWidget(this);
    auto* tabs = new QHBoxLayout;
    tabs->setSpacing(0);
    auto* group = new QButtonGroup(box);
    // Letters of their own: R restarts, P applies.
    const char* accelerated[] = {"Ré&ception", "&Transmission", "Para&mètres de transmission"};
    for (int page = 0; page < 3; ++page) {
        auto* tab = button(QString::fromUtf8(accelerated[page]), TabNames[page], box);
        tab->setCheckable(true);
        tab->setToolTip(PageCaptions[page]);
        group->addButton(tab, page);
        tabs->addWidget(tab);
    }
    tabs->addStretch();
    connect(group, &QButtonGroup::idClicked, this, &frmPDO::showPage);
    FrameTabContainer_ = named(new QStackedWidget(box), "FrameTabContainer");
    FrameTabContainer_->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(tabs);
    layout->addWidget(FrameTabContainer_, 1);
    return box;
}

QWidget* frmPDO::buildButtons()
{
    auto* box = new QWidget(this);
    auto* helpButton = button(QStringLiteral("&Aide"), "cmdButtonHelp", box);
    auto* close = button(QStringLiteral("&Fermer"), "cmdButtonClose", box);
    helpButton->setIcon(Icon(QStringLiteral("IMG_HELP")));
    connect(helpButton, &QPushButton::clicked, this, &frmPDO::help);
    connect(close, &QPushButton::clicked, this, &frmPDO::CloseForm);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(helpButton);
    layout->addStretch();
    layout->addWidget(close);
    return box;
}

void frmPDO::buildPages(const DeviceEntry& entry)
{
    const int shown = std::max(FrameTabContainer_->currentIndex(), 0);
    while (FrameTabContainer_->count() > 0) {
        QWidget* page = FrameTabContainer_->widget(0);
        FrameTabContainer_->removeWidget(page);
        delete page;
    }
    recv_.clear();
    send_.clear();
    sendParameters_.clear();
    FrameTabContainer_->addWidget(mappingPage(entry, false, recv_));
    FrameTabContainer_->addWidget(mappingPage(entry, true, send_));
    FrameTabContainer_->addWidget(sendParametersPage(entry));
    showPage(shown);
}

// A page in a scroll area: a device may describe more PDOs than the window shows at once.
static QWidget* scrolledPage(QWidget* content, const char* name)
{
    auto* area = named(new QScrollArea, name);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    return area;
}

QWidget* frmPDO::mappingPage(const DeviceEntry& entry, bool send, std::vector<PdoFrame>& frames)
{
    const Description* description = Descr_OfDevice(state_.descriptions, entry);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    auto* title = new QLabel(PageCaptions[send ? 1 : 0], content);
    title->setStyleSheet(QStringLiteral("font-weight: bold"));
    layout->addWidget(title);
    XmlNode known;
    const QString knownPath = send ? QStringLiteral("PDO/SendMappingsKnown") : QStringLiteral("PDO/RecvMappingsKnown");
    const bool hasKnown = Descr_FindNode(knownPath, description, known) >= 0;
    for (int n = 1; described(description, PDO_MappingPath(send, n)); ++n) {
        auto* frame = named(new QGroupBox(mappingCaption(description, send, n), content),
                            send ? "FrameSubSendPDO" : "FrameSubRecvPDO");
        PdoFrame pdo{n};
        pdo.current = wrapped(QString(), send ? "LabelCurrentPDOSend" : "LabelCurrentPDORecv", frame);
        pdo.choice = named(new QComboBox(frame), send ? "ComboPDOSend" : "ComboPDORecv");
        for (const XmlNode& member : hasKnown ? known.child("Members").elementChildren() : std::vector<XmlNode>{})
            pdo.choice->addItem(Descr_GetText(member, state_.core.Language), member.childText("Name"));
        auto* apply = button(QStringLiteral("A&ppliquer"), send ? "cmdButtonApplySend" : "cmdButtonApplyRecv", frame);
        connect(apply, &QPushButton::clicked, this, [this, send, n] { applyMapping(send, n); });
        auto* currentLabel = named(new QLabel(QStringLiteral("Actuel :"), frame),
                                   send ? "LabelPDOsendCurrent" : "LabelPDORecvCurrent");
        auto* newLabel =
            named(new QLabel(QStringLiteral("Nouveau :"), frame), send ? "LabelPDOsendNew" : "LabelPDORecvNew");
        newLabel->setBuddy(pdo.choice);
        auto* grid = new QGridLayout(frame);
        grid->addWidget(currentLabel, 0, 0, Qt::AlignTop);
        grid->addWidget(pdo.current, 0, 1, 1, 2);
        grid->addWidget(newLabel, 1, 0);
        grid->addWidget(pdo.choice, 1, 1);
        grid->addWidget(apply, 1, 2);
        grid->setColumnStretch(1, 1);
        layout->addWidget(frame);
        frames.push_back(pdo);
    }
    layout->addStretch();
    return scrolledPage(content, send ? "FrameSendPDO" : "FrameRecvPDO");
}

QWidget* frmPDO::sendParametersPage(const DeviceEntry& entry)
{
    const Description* description = Descr_OfDevice(state_.descriptions, entry);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    auto* title = new QLabel(PageCaptions[2], content);
    title->setStyleSheet(QStringLiteral("font-weight: bold"));
    layout->addWidget(title);
    layout->addWidget(
        wrapped(QStringLiteral("Uniquement le mode de transmission peut être ajusté de l'Assistant Quelbrin"),
                "LabelSendPara", content));
    for (int n = 1; described(description, cobIdPath(n)); ++n) {
        auto* frame = named(new QGroupBox(sendParametersCaption(description, n), content), "FrameSubSendPara");
        PdoFrame pdo{n};
        pdo.current = wrapped(QString(), "LabelCurrentSendPara", frame);
        pdo.mode = named(new QLineEdit(frame), "TextTransferMode");
        pdo.mode->setMaxLength(3);
        pdo.mode->setFixedWidth(pdo.mode->fontMetrics().horizontalAdvance(QStringLiteral("0000")) * 2);
        auto* apply = button(QStringLiteral("A&ppliquer"), "cmdButtonApplyTransferMode", frame);
        connect(apply, &QPushButton::clicked, this, [this, n] { applyTransferMode(n); });
        connect(pdo.mode, &QLineEdit::returnPressed, this, [this, n] { applyTransferMode(n); });
        auto* newLabel = named(new QLabel(QStringLiteral("Nouveau mode de transmission :"), frame), "LabelSendParaNew");
        newLabel->setBuddy(pdo.mode);
        // The current text takes the whole width: the label of the new mode is long.
        auto* currentRow = new QHBoxLayout;
        currentRow->addWidget(named(new QLabel(QStringLiteral("Actuel :"), frame), "LabelSendParaCurrent"), 0,
                              Qt::AlignTop);
        currentRow->addWidget(pdo.current, 1);
        auto* newRow = new QHBoxLayout;
        newRow->addWidget(newLabel);
        newRow->addWidget(pdo.mode);
        newRow->addWidget(apply);
        newRow->addStretch();
        auto* rows = new QVBoxLayout(frame);
        rows->addLayout(currentRow);
        rows->addLayout(newRow);
        layout->addWidget(frame);
        sendParameters_.push_back(pdo);
    }
    // The modes a transmit PDO can have, the SYNC-counted ones as one line.
    const QStringList modes{QStringLiteral("0 : ") + PDO_TransferModeText(0),
                            QStringLiteral("1 : ") + PDO_TransferModeText(1),
                            QStringLiteral("n = 2 - 240 : ") +
                                PDO_TransferModeText(2).replace(QStringLiteral(" 2 "), QStringLiteral(" n ")),
                            QStringLiteral("254 : ") + PDO_TransferModeText(254)};
    layout->addWidget(wrapped(modes.join(QLatin1Char('\n')), "LabelTransferModeDescription", content));
    layout->addStretch();
    return scrolledPage(content, "FrameSendRecvParameters");
}

void frmPDO::showPage(int page)
{
    FrameTabContainer_->setCurrentIndex(page);
    for (int i = 0; i < 3; ++i) {
        if (auto* tab = findChild<QPushButton*>(QLatin1String(TabNames[i])))
            tab->setChecked(i == page);
    }
}

void frmPDO::showState(DeviceEntry& entry)
{
    const InterfaceSettings& settings = state_.CurrentInterface;
    // A net that gave up on its devices has said so once: nothing more is asked of it.
    const auto lost = [&] { return device() != &entry; };
    for (auto* frames : {&recv_, &send_}) {
        for (PdoFrame& pdo : *frames) {
            if (lost())
                return;
            std::vector<uint32_t> entries;
            const int32_t read =
                PDO_ReadMapping(state_, settings, entry, PDO_MappingPath(frames == &send_, pdo.n), entries, nullptr);
            pdo.current->setText(read < 0 ? QString() : PDO_MappingText(entries));
        }
    }
    for (PdoFrame& pdo : sendParameters_) {
        if (lost())
            return;
        int32_t cobId = 0;
        uint8_t type = 0;
        const int32_t read = PDO_ReadSendParameters(state_, settings, entry, pdo.n, cobId, type, nullptr);
        pdo.current->setText(read < 0 ? QString() : PDO_SendParametersText(cobId, type));
    }
    SBar_->showMessage(Device_GetLabel(entry));
}

void frmPDO::Update()
{
    if (closed_)
        return;
    const int32_t current = state_.CurrentDevice;
    DeviceEntry* entry = current >= 1 && current <= state_.DeviceCount ? &state_.Devices[current] : nullptr;
    if (!entry || !entry->Online || entry->InterfaceKind != CANBus) {
        CloseForm();
        return;
    }
    if (entry->SerialNumber != serial_ || entry->DescriptionIndex != descriptionIndex_) {
        serial_ = entry->SerialNumber;
        descriptionIndex_ = entry->DescriptionIndex;
        buildPages(*entry);
    }
    showState(*entry);
}

DeviceEntry* frmPDO::device() const
{
    const int32_t current = state_.CurrentDevice;
    if (current < 1 || current > state_.DeviceCount)
        return nullptr;
    DeviceEntry& entry = state_.Devices[current];
    return entry.Online && entry.InterfaceKind == CANBus && entry.SerialNumber == serial_ ? &entry : nullptr;
}

void frmPDO::CloseForm()
{
    closed_ = true;
    close();
}

void frmPDO::reject() { CloseForm(); }

void frmPDO::closeEvent(QCloseEvent* event)
{
    // A failed save of the settings file has told its reason already.
    if (isVisible())
        static_cast<void>(SaveWindowPlacement(state_.core, *this, nullptr));
    closed_ = true;
    event->accept();
    deleteWhenIdle(this, main_.operationGuard());
}
