#include "ui/bitmask/FrmBitMask.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "core/xml/XmlFiles.h"
#include "device/DeviceAccess.h"
#include "model/Configuration.h"
#include "model/Descriptions.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "transport/ErrorText.h"
#include "ui/Help.h"
#include "ui/DeleteWhenIdle.h"
#include "ui/Icons.h"
#include "ui/WindowPlacement.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Placement defaults in twips.
constexpr int DefaultWidthTwips = 5000;
constexpr int CaptionButtonsLines = 8;  // room for a title bar's icon and buttons, in text lines
constexpr int DefaultHeightTwips = 10000;
constexpr int ImageSize = 16;
constexpr int ButtonImageSize = 20;
// The smallest window still shows a few rows.
constexpr int MinimumLines = 16;
enum Column { ColumnImage, ColumnNumber, ColumnName, ColumnButton, ColumnCount };
const QColor Background(0xF0, 0xF0, 0xF0);

bool isTrue(XmlNode node, const char* child) { return textToBool(node.childText(child)); }

// The member's text in the language, its name when it has none.
QString displayText(XmlNode member, const QString& language)
{
    const QString text = Descr_GetText(member, language);
    return text.isEmpty() ? member.childText("Name") : text;
}

// A bit is shown on its interface kind (by default every kind) unless it is hidden.
bool shownOn(XmlNode bit, int32_t interfaceKind)
{
    const QString required = bit.childText("RequiresInterface").trimmed();
    const bool onKind = required.isEmpty() || int32_t(leadingNumber(required)) == interfaceKind;
    return onKind && !isTrue(bit.child("GUI"), "Hidden");
}

// The bit's "Indice"; -1 when it names no bit of a 32-bit value.
int bitNumber(XmlNode bit)
{
    bool ok = false;
    const int number = bit.childText("Indice").trimmed().toInt(&ok);
    return ok && number >= 0 && number < 32 ? number : -1;
}

// The width that shows every cell of the grid unclipped, beside a vertical scroll bar.
int contentWidth(QTableWidget& grid)
{
    grid.resizeColumnsToContents();
    int width = 2 * grid.frameWidth() + grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int column = 0; column < ColumnCount; ++column)
        if (!grid.isColumnHidden(column))
            width += grid.columnWidth(column);
    return width;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* pushed = new QPushButton(caption, parent);
    pushed->setObjectName(QLatin1String(name));
    pushed->setAutoDefault(false);
    return pushed;
}

}  // namespace

int32_t FrmBitMask::ShowBitMask(AppState& state, OperationGuard& guard, int32_t device, const QString& path,
                                bool modal, QWidget* parent, QPointer<FrmBitMask>& shown)
{
    if (device < 1 || device > state.DeviceCount)
        return rc::NoDevice;
    XmlNode mask;
    const int32_t found = Descr_FindNode(path, Descr_OfDevice(state.descriptions, state.Devices[device]), mask);
    if (found < 0)
        return found;
    if (!mask.nameIs("ParameterBitMask"))
        return rc::NotSupported;
    auto* window = new FrmBitMask(state, guard, device, path, parent);
    window->build(mask);
    if (isTrue(mask, "UpdatePeriodically"))
        window->timer_.start();
    else if (const int32_t read = window->ReadAndShow(); read < 0)
        ShowMessage(*state.core.host,
                    QStringLiteral("Erreur lors de la lecture : ") +
                        ErrorText(state, state.CurrentInterface, state.Devices[device], read, path),
                    msg::Warning);
    if (modal) {
        window->exec();
        return rc::Ok;
    }
    shown = window;
    window->show();
    return rc::Ok;
}

FrmBitMask::FrmBitMask(AppState& state, OperationGuard& guard, int32_t device, const QString& path,
                       QWidget* parent)
    : QDialog(parent), state_(state), guard_(guard), device_(device),
      serial_(state.Devices[device].SerialNumber), path_(path)
{
    setObjectName(QStringLiteral("FrmBitMask"));
    timer_.setObjectName(QStringLiteral("RefreshTimer"));
    timer_.setInterval(RefreshMs);
    connect(&timer_, &QTimer::timeout, this, &FrmBitMask::RefreshTimer_Timer);
    connect(this, &QDialog::finished, this, [this] { deleteWhenIdle(this, guard_); });
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Background);
    setPalette(palette);
    setAutoFillBackground(true);
}

void FrmBitMask::build(XmlNode mask)
{
    const QString& language = state_.core.Language;
    name_ = mask.childText("Name");
    width_ = int32_t(leadingNumber(mask.childText("Width")));
    const QString access = mask.childText("AccessMode");
    writable_ = !access.isEmpty() && access != QLatin1String("RO");
    setWindowTitle(displayText(mask, language) + QStringLiteral(" (") + Device_GetLabel(state_.Devices[device_]) +
                   QStringLiteral(")"));
    setWindowIcon(Icon(QStringLiteral("IMG_INFO")));

    auto* layout = new QVBoxLayout(this);
    auto* described = new QGroupBox(this);
    described->setObjectName(QStringLiteral("FrameDescription"));
    auto* description = new QLabel(Descr_GetText(mask, language), described);
    description->setObjectName(QStringLiteral("LabelDescription"));
    description->setWordWrap(true);
    (new QVBoxLayout(described))->addWidget(description);
    described->setVisible(!description->text().isEmpty());
    layout->addWidget(described);
    layout->addWidget(buildLegend(mask.child("Legend")));

    Grid_ = new QTableWidget(0, ColumnCount, this);
    Grid_->setObjectName(QStringLiteral("Grid"));
    Grid_->horizontalHeader()->hide();
    Grid_->verticalHeader()->hide();
    // Arrows move among the cells; Tab goes on to the buttons.
    Grid_->setTabKeyNavigation(false);
    Grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid_->setSelectionMode(QAbstractItemView::NoSelection);
    Grid_->setIconSize(QSize(ImageSize, ImageSize));
    Grid_->setWordWrap(false);
    for (XmlNode bit : mask.child("Bits").elementChildren())
        if (bit.nameIs("Bit") && shownOn(bit, state_.CurrentInterface.InterfaceType) && bitNumber(bit) >= 0)
            addRow(bit, writable_);
    Grid_->setColumnHidden(ColumnButton, !writable_);
    Grid_->setMinimumWidth(contentWidth(*Grid_));
    QHeaderView* columns = Grid_->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::ResizeToContents);
    columns->setSectionResizeMode(ColumnName, QHeaderView::Stretch);
    Grid_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(Grid_, 1);

    auto* buttons = new QHBoxLayout;
    QPushButton* help = button("cmdButtonHelp", QStringLiteral("&Aide"), this);
    const int32_t topic = Descr_GetHelpTopic(mask);
    help->setVisible(topic > 0);
    connect(help, &QPushButton::clicked, this, [this, topic] { ShowHelp(state_.core, this, topic); });
    QPushButton* close = button("cmdButtonClose", QStringLiteral("&Fermer"), this);
    connect(close, &QPushButton::clicked, this, &FrmBitMask::CloseBitMask);
    buttons->addWidget(help);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    const QFontMetrics text = fontMetrics();
    // Wide enough at first for the caption (title bars mostly draw it bold) beside the
    // window manager's buttons.
    QFont captionFont = font();
    captionFont.setBold(true);
    const int captionWidth =
        QFontMetrics(captionFont).horizontalAdvance(windowTitle()) + CaptionButtonsLines * text.height();
    resize(std::max(TwipsToPixels(DefaultWidthTwips), captionWidth), TwipsToPixels(DefaultHeightTwips));
    setMinimumSize(minimumSizeHint().width(), std::max(minimumSizeHint().height(), text.height() * MinimumLines));
    RestoreWindowPlacement(state_.core, *this, 0, 0);
    KeepOnScreen(*this);
}

QWidget* FrmBitMask::buildLegend(XmlNode legend)
{
    const QString& language = state_.core.Language;
    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("PictureLegend"));
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char* element;
        const char* defaultText;
        const char* builtIn;
        QPixmap& image;
    } entries[] = {{"false", "Inactive", "IMG_INACTIVE", inactive_}, {"true", "Active", "IMG_ACTIVE", active_}};
    for (const auto& e : entries) {
        const XmlNode entry = legend.child(e.element);
        e.image = descriptionImage(entry.childText("Image"), QLatin1String(e.builtIn));
        auto* image = new QLabel(box);
        image->setObjectName(QStringLiteral("ImageLegend_") + QLatin1String(e.element));
        image->setPixmap(e.image);
        const QString text = Descr_GetText(entry, language);
        auto* caption = new QLabel(text.isEmpty() ? QLatin1String(e.defaultText) : text, box);
        caption->setObjectName(QStringLiteral("LabelLegend_") + QLatin1String(e.element));
        row->addWidget(image);
        row->addWidget(caption);
        row->addSpacing(ImageSize);
    }
    row->addStretch(1);
    return box;
}

QPixmap FrmBitMask::descriptionImage(const QString& file, const QString& builtIn) const
{
    QPixmap image;
    if (!file.trimmed().isEmpty())
        image.load(Descr_Folder(state_.core) + '/' + file.trimmed());
    return image.isNull() ? IconPixmap(builtIn, ImageSize)
                          : image.scaled(ImageSize, ImageSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void FrmBitMask::addRow(XmlNode bit, bool writable)
{
    const int number = bitNumber(bit);
    const QString access = bit.childText("AccessMode");
    const int row = Grid_->rowCount();
    Grid_->insertRow(row);
    rows_.push_back({number, access == QLatin1String("WO")});
    Grid_->setItem(row, ColumnImage, new QTableWidgetItem);
    Grid_->setItem(row, ColumnNumber, new QTableWidgetItem(QStringLiteral("Bit %1").arg(number)));
    auto* name = new QTableWidgetItem(displayText(bit, state_.core.Language));
    name->setToolTip(name->text());
    Grid_->setItem(row, ColumnName, name);
    // Until the first read only a stored bit has a known state.
    if (isTrue(bit, "Persistent"))
        showBit(row, false);
    if (writable && access != QLatin1String("RO"))
        Grid_->setCellWidget(row, ColumnButton, bitButton(bit, number));
}

QWidget* FrmBitMask::bitButton(XmlNode bit, int number)
{
    auto* pressed = new QToolButton(Grid_);
    pressed->setObjectName(QStringLiteral("cmdButton%1").arg(number));
    if (isTrue(bit, "Persistent")) {
        pressed->setText(QStringLiteral("0/1"));
    } else {
        pressed->setIcon(descriptionImage(bit.child("GUI").childText("Icon"), QStringLiteral("IMG_EXECUTE")));
        pressed->setIconSize(QSize(ButtonImageSize, ButtonImageSize));
    }
    pressed->setToolTip(displayText(bit, state_.core.Language));
    connect(pressed, &QToolButton::clicked, this, [this, number] { bitButtonClicked(number); });
    return pressed;
}

void FrmBitMask::showBit(int row, bool on)
{
    QTableWidgetItem* item = Grid_->item(row, ColumnImage);
    item->setData(Qt::DecorationRole, on ? active_ : inactive_);
    item->setData(Qt::UserRole, on);
}

bool FrmBitMask::deviceStillThere() const
{
    return device_ <= state_.DeviceCount && state_.Devices[device_].Online &&
           state_.Devices[device_].SerialNumber == serial_;
}

int32_t FrmBitMask::ReadAndShow()
{
    if (!deviceStillThere())
        return rc::NoDevice;
    int32_t value = 0;
    const int32_t result = Device_GetBitMask(state_, state_.CurrentInterface, state_.Devices[device_], path_, width_,
                                             value, state_.core.host);
    if (result < 0)
        return result;
    for (size_t row = 0; row < rows_.size(); ++row)
        if (!rows_[row].writeOnly)
            showBit(int(row), (uint32_t(value) >> rows_[row].bit) & 1u);
    return result;
}

void FrmBitMask::Update()
{
    if (!deviceStillThere()) {
        CloseBitMask();
        return;
    }
    // A failure stays for the next refresh; the read has reported what it owes.
    static_cast<void>(ReadAndShow());
}

void FrmBitMask::RefreshTimer_Timer()
{
    OperationGuard::Scope operation(guard_);
    if (!operation)
        return;
    const bool wasActive = timer_.isActive();
    timer_.stop();
    const int32_t result = ReadAndShow();
    if (result >= 0) {
        if (wasActive)
            timer_.start();
        return;
    }
    ShowMessage(*state_.core.host,
                QStringLiteral("Erreur%1 lors de la lecture ! La mesure est arrêtée.").arg(result), msg::Error);
}

void FrmBitMask::bitButtonClicked(int bit)
{
    OperationGuard::Scope operation(guard_);
    if (!operation || !deviceStillThere())
        return;
    DeviceEntry& entry = state_.Devices[device_];
    int32_t value = 0;
    int32_t result = Device_GetBitMask(state_, state_.CurrentInterface, entry, path_, width_, value, state_.core.host);
    if (result >= 0) {
        const XmlNode parameters = Conf_Parameters(state_.Configuration.get());
        XmlNode element;
        result = Conf_GetNode(path_, parameters, element);
        if (result >= 0) {
            element.setText(QString::number(int32_t(uint32_t(value) ^ (1u << bit))));
            result = DeviceSetValue(state_, state_.CurrentInterface, entry, parameters, path_, state_.core.host,
                                    false);
        }
    }
    if (result < 0)
        ShowMessage(*state_.core.host, name_ + QStringLiteral(": Erreur lors de la mise du paramètre !"),
                    msg::Warning);
    static_cast<void>(ReadAndShow());
}

void FrmBitMask::CloseBitMask()
{
    timer_.stop();
    done(QDialog::Rejected);
}

void FrmBitMask::done(int result)
{
    timer_.stop();
    static_cast<void>(SaveWindowPlacement(state_.core, *this, nullptr));
    QDialog::done(result);
}
