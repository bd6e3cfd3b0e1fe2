#include "ui/frmProfiBusInterface.h"

#include "transport/AppState.h"
#include "transport/InterfaceManager.h"
#include "transport/profibus/ProfibusLibrary.h"
#include "ui/Help.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int16_t LastCardNumber = 4;

QPushButton* addButton(QDialogButtonBox* box, const QString& name, const QString& caption,
                       QDialogButtonBox::ButtonRole role)
{
    QPushButton* button = box->addButton(caption, role);
    button->setObjectName(name);
    return button;
}

}  // namespace

frmProfiBusInterface::frmProfiBusInterface(AppState& state, QWidget* parent)
    : QDialog(parent), state_(state), ComboCardType(new QComboBox), ComboCardIndex(new QComboBox)
{
    setObjectName(QStringLiteral("frmProfiBusInterface"));
    setWindowTitle(QStringLiteral("Carte PROFIBUS"));
    ComboCardType->setObjectName(QStringLiteral("ComboCardType"));
    ComboCardType->addItem(QStringLiteral("Maître PROFIBUS Siemens"), profibus::SiemensMaster);
    ComboCardType->addItem(QStringLiteral("Maître PROFIBUS Hilscher"), profibus::HilscherMaster);
    ComboCardIndex->setObjectName(QStringLiteral("ComboCardIndex"));
    for (int16_t number = 0; number <= LastCardNumber; ++number)
        ComboCardIndex->addItem(QString::number(number), number);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Type de maître :"), ComboCardType);
    form->addRow(QStringLiteral("&Numéro de carte :"), ComboCardIndex);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = addButton(buttons, QStringLiteral("cmdButtonOk"), QStringLiteral("OK"),
                                QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    addButton(buttons, QStringLiteral("cmdButtonCancel"), QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    QPushButton* help = addButton(buttons, QStringLiteral("cmdButtonHelp"), QStringLiteral("&Aide"),
                                  QDialogButtonBox::HelpRole);
    connect(ok, &QPushButton::clicked, this, &frmProfiBusInterface::tryCard);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmProfiBusInterface::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(state_.core, this, HelpTopic); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(buttons);
    // Room between the choices and the buttons.
    setMinimumSize(sizeHint() + QSize(40, 24));
}

int frmProfiBusInterface::DefineProfibusCard(int16_t& pType, int16_t& devno)
{
    ComboCardType->setCurrentIndex(std::max(0, ComboCardType->findData(pType)));
    ComboCardIndex->setCurrentIndex(std::max(0, ComboCardIndex->findData(devno)));
    result_ = Cancelled;
    exec();
    if (result_ == Accepted) {
        pType = int16_t(ComboCardType->currentData().toInt());
        devno = int16_t(ComboCardIndex->currentData().toInt());
    }
    return result_;
}

void frmProfiBusInterface::reject()
{
    result_ = Cancelled;
    QDialog::reject();
}

// The card is opened once and closed again; a card that does not open has shown why
// and the dialog stays for another choice.
void frmProfiBusInterface::tryCard()
{
    InterfaceSettings card;
    card.InterfaceType = PROFIBUS;
    card.PType = int16_t(ComboCardType->currentData().toInt());
    card.Devno = int16_t(ComboCardIndex->currentData().toInt());
    const int32_t opened = Interface_Connect(state_, card);
    Interface_CloseBus(state_, card);
    if (opened < 0)
        return;
    result_ = Accepted;
    accept();
}
