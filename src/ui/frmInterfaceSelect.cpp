#include "ui/frmInterfaceSelect.h"

#include "core/Host.h"
#include "core/Settings.h"
#include "transport/AppState.h"
#include "transport/InterfaceManager.h"
#include "transport/profibus/ProfibusLibrary.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/InterfaceList.h"
#include "ui/WindowPlacement.h"
#include "ui/frmProfiBusInterface.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>

#include <algorithm>

namespace {

// The card offered when the current interface is no PROFIBUS card: Hilscher, card 1.
constexpr int16_t DefaultCardNumber = 1;

constexpr int MinWidth = 460;
constexpr int MinHeight = 420;

const QColor NodeBackground(Qt::white);
const QColor ClickedBackground(0xBC, 0xDC, 0xFF);  // 0xFFDCBC in blue-green-red order: light blue

QPushButton* namedButton(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

bool isHardwareNode(const QTreeWidgetItem* item)
{
    return item->data(0, Qt::UserRole).toString().startsWith(QLatin1String("CANHardware_"));
}

}  // namespace

frmInterfaceSelect::frmInterfaceSelect(AppState& state, QWidget* parent)
    : QDialog(parent),
      state_(state),
      CanBusSelectView(new QTreeWidget),
      CheckDefaultInterface(new QCheckBox(QStringLiteral("Utiliser comme interface &standard"))),
      LabelDescription(new QLabel(QStringLiteral(
          "Choisissez l'&interface par laquelle l'assistant communique avec les appareils :")))
{
    setObjectName(QStringLiteral("frmInterfaceSelect"));
    setWindowTitle(QStringLiteral("Choix de l'interface"));
    CanBusSelectView->setObjectName(QStringLiteral("CanBusSelectView"));
    CanBusSelectView->setHeaderHidden(true);
    CanBusSelectView->setIconSize({20, 20});
    CheckDefaultInterface->setObjectName(QStringLiteral("CheckDefaultInterface"));
    LabelDescription->setObjectName(QStringLiteral("LabelDescription"));
    LabelDescription->setWordWrap(true);
    LabelDescription->setBuddy(CanBusSelectView);
    connect(CanBusSelectView, &QTreeWidget::currentItemChanged, this, &frmInterfaceSelect::paintClicked);
    // A double click on an interface chooses it; one on a parent only opens or closes it.
    connect(CanBusSelectView, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (InterfaceKey_Position(item->data(0, Qt::UserRole).toString(), list_.size()))
            takeSelected();
    });

    auto* middle = new QHBoxLayout;
    middle->addWidget(CanBusSelectView, 1);
    middle->addWidget(profibusFrame());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelDescription);
    layout->addLayout(middle, 1);
    layout->addWidget(CheckDefaultInterface);
    layout->addLayout(buttonRow());
    setMinimumSize(MinWidth, MinHeight);
    resize(minimumSize());
}

QWidget* frmInterfaceSelect::profibusFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("PROFIBUS"));
    frame->setObjectName(QStringLiteral("FrameProfiBus"));
    QPushButton* create = namedButton(QStringLiteral("ctlButtonProfiBusIfCreate"), QStringLiteral("&Créer carte..."));
    QPushButton* remove = namedButton(QStringLiteral("ctlButtonProfiBusIfDelete"), QStringLiteral("S&upprimer carte"));
    connect(create, &QPushButton::clicked, this, &frmInterfaceSelect::createCard);
    connect(remove, &QPushButton::clicked, this, &frmInterfaceSelect::deleteCard);
    auto* column = new QVBoxLayout(frame);
    column->addWidget(create);
    column->addWidget(remove);
    column->addStretch();
    return frame;
}

QLayout* frmInterfaceSelect::buttonRow()
{
    QPushButton* ok = namedButton(QStringLiteral("ctlButtonOK"), QStringLiteral("OK"));
    QPushButton* cancel = namedButton(QStringLiteral("ctlButtonCancel"), QStringLiteral("Annuler"));
    QPushButton* help = namedButton(QStringLiteral("cmdHelp"), QStringLiteral("&Aide"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmInterfaceSelect::takeSelected);
    connect(cancel, &QPushButton::clicked, this, &frmInterfaceSelect::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(state_.core, this, HelpTopic); });
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addWidget(help);
    return row;
}

std::optional<InterfaceChoice> frmInterfaceSelect::choose(const InterfaceChoice& current)
{
    current_ = InterfaceSettings();
    Interface_TakeChoice(current, current_);
    result_.reset();
    list_ = InterfaceList_Build(state_, list_, current_);
    fillTree(InterfaceList_Find(list_, current_));
    CheckDefaultInterface->setChecked(false);
    CanBusSelectView->setFocus();
    RestoreWindowPlacement(state_.core, *this, int(PixelsToTwips(minimumWidth())),
                           int(PixelsToTwips(minimumHeight())));
    exec();
    SaveWindowPlacement(state_.core, *this, nullptr);
    return result_;
}

// The tree of the list, with the entry at `selected` (-1: none) selected and shown.
void frmInterfaceSelect::fillTree(qsizetype selected)
{
    CanBusSelectView->clear();
    QHash<QString, QTreeWidgetItem*> items;
    QTreeWidgetItem* selectedItem = nullptr;
    for (const InterfaceNode& node : InterfaceTree(list_)) {
        QTreeWidgetItem* parent = items.value(node.parentKey);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(CanBusSelectView);
        item->setText(0, node.text);
        item->setIcon(0, Icon(node.image));
        item->setData(0, Qt::UserRole, node.key);
        item->setExpanded(true);
        items.insert(node.key, item);
        if (selected >= 0 && InterfaceKey_Position(node.key, list_.size()) == selected)
            selectedItem = item;
    }
    if (selectedItem) {
        CanBusSelectView->setCurrentItem(selectedItem);
        CanBusSelectView->scrollToItem(selectedItem);
    }
    fitTree();
}

// The dialog widens until every node's text is shown whole (a card's text is long).
void frmInterfaceSelect::fitTree()
{
    const QAbstractItemView* view = CanBusSelectView;
    CanBusSelectView->setMinimumWidth(view->sizeHintForColumn(0) + 2 * CanBusSelectView->frameWidth() +
                                      CanBusSelectView->verticalScrollBar()->sizeHint().width());
    setMinimumWidth(std::max(MinWidth, layout()->minimumSize().width()));
}

// A clicked interface or parent stands out in light blue; a CAN hardware node changes nothing.
void frmInterfaceSelect::paintClicked(QTreeWidgetItem* clicked)
{
    if (!clicked || isHardwareNode(clicked))
        return;
    for (QTreeWidgetItemIterator it(CanBusSelectView); *it; ++it)
        (*it)->setBackground(0, *it == clicked ? ClickedBackground : NodeBackground);
}

QString frmInterfaceSelect::selectedKey() const
{
    const QTreeWidgetItem* item = CanBusSelectView->currentItem();
    return item && item->isSelected() ? item->data(0, Qt::UserRole).toString() : QString();
}

void frmInterfaceSelect::takeSelected()
{
    const std::optional<qsizetype> position = InterfaceKey_Position(selectedKey(), list_.size());
    if (!position) {
        ShowMessage(*state_.core.host, ChooseInterfaceFirst, msg::Information);
        return;
    }
    const InterfaceSettings& entry = list_[*position];
    result_ = Interface_ChoiceOf(entry);
    // A kind that cannot be the standard interface (a COM port) is not stored; a failed
    // save of the settings file is logged by the save.
    if (CheckDefaultInterface->isChecked()) {
        AppConf_Ensure(state_.core);
        if (SaveStandardInterface(state_, entry) >= 0)
            static_cast<void>(AppConf_Save(state_.core));
    }
    accept();
}

void frmInterfaceSelect::createCard()
{
    const bool onCard = current_.InterfaceType == PROFIBUS;
    int16_t pType = onCard ? current_.PType : profibus::HilscherMaster;
    int16_t devno = onCard ? current_.Devno : DefaultCardNumber;
    frmProfiBusInterface card(state_, this);
    if (card.DefineProfibusCard(pType, devno) != frmProfiBusInterface::Accepted)
        return;
    InterfaceSettings entry;
    entry.InterfaceType = PROFIBUS;
    entry.PType = pType;
    entry.Devno = devno;
    list_ << entry;
    fillTree(list_.size() - 1);
}

void frmInterfaceSelect::deleteCard()
{
    if (InterfaceList_RemoveCard(list_, selectedKey()))
        fillTree(InterfaceList_Find(list_, current_));
}
