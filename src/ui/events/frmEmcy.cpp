#include "ui/events/frmEmcy.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "transport/ErrorText.h"
#include "transport/can/events/CanNetListener.h"
#include "transport/can/events/ErrorHistory.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString hex(uint32_t value, int digits)
{
    return QStringLiteral("0x") + QString::number(value, 16).rightJustified(digits, QLatin1Char('0')).toUpper();
}

QTreeWidget* table(const QStringList& columns, QWidget* parent)
{
    auto* tree = new QTreeWidget(parent);
    tree->setRootIsDecorated(false);
    tree->setHeaderLabels(columns);
    tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree->header()->setStretchLastSection(true);
    return tree;
}

}  // namespace

frmEmcy::frmEmcy(AppState& state, int32_t device, QWidget* parent) : QDialog(parent), state_(state), device_(device)
{
    setObjectName(QStringLiteral("frmEmcy"));
    setWindowTitle(QStringLiteral("Urgences (EMCY) de l'appareil ") + Device_GetLabel(state.Devices[device]));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("EMCY reçus (les plus récents en premier) :"), this));
    heard_ = table({QStringLiteral("Code"), QStringLiteral("Registre"), QStringLiteral("Octets fabricant"),
                    QStringLiteral("Signification")},
                   this);
    layout->addWidget(heard_, 1);
    layout->addWidget(new QLabel(QStringLiteral("Erreurs mémorisées par l'appareil (0x1003) :"), this));
    stored_ = table({QStringLiteral("N°"), QStringLiteral("Code"), QStringLiteral("Info fabricant"),
                     QStringLiteral("Signification")},
                    this);
    layout->addWidget(stored_, 1);
    storedNote_ = new QLabel(this);
    storedNote_->setWordWrap(true);
    layout->addWidget(storedNote_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* refresh = buttons->addButton(QStringLiteral("&Actualiser"), QDialogButtonBox::ActionRole);
    connect(refresh, &QPushButton::clicked, this, &frmEmcy::Update);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    resize(640, 420);
    Update();
}

void frmEmcy::Update()
{
    refreshHeard();
    showStored();
}

void frmEmcy::refreshHeard()
{
    heard_->clear();
    CanNetListener* listener = state_.buses.can ? state_.buses.canEvents() : nullptr;
    const auto status = listener ? listener->status(uint8_t(state_.Devices[device_].NodeId)) : std::nullopt;
    if (!status)
        return;
    for (const EmcyFrame& emcy : status->recentEmcy) {
        QStringList maker;
        for (uint8_t byte : emcy.maker)
            maker << QString::number(byte, 16).rightJustified(2, QLatin1Char('0')).toUpper();
        heard_->addTopLevelItem(new QTreeWidgetItem(
            {hex(emcy.code, 4), hex(emcy.errorRegister, 2), maker.join(' '), emcyCodeText(emcy.code)}));
    }
}

void frmEmcy::showStored()
{
    stored_->clear();
    std::vector<uint32_t> errors;
    const DeviceEntry& entry = state_.Devices[device_];
    const int32_t result = state_.buses.can ? readErrorHistory(*state_.buses.can, uint8_t(entry.NodeId), errors)
                                            : rc::NoInterface;
    if (result < 0) {
        storedNote_->setText(QStringLiteral("Le champ d'erreurs 0x1003 n'a pas pu être lu : ") +
                             resultCodeText(result));
        return;
    }
    storedNote_->setText(errors.empty() ? QStringLiteral("Aucune erreur mémorisée.") : QString());
    int number = 1;
    for (uint32_t error : errors)
        stored_->addTopLevelItem(new QTreeWidgetItem({QString::number(number++), hex(error & 0xFFFF, 4),
                                                      hex(error >> 16, 4), emcyCodeText(uint16_t(error))}));
}
