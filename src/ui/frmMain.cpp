// The main window's areas, top to bottom, and its life: first activation and shut-down.
#include "ui/frmMain.h"

#include "core/Host.h"
#include "device/InterfaceSession.h"
#include "device/DeviceSession.h"
#include "measure/MeasureTick.h"
#include "transport/AppState.h"
#include "transport/InterfaceManager.h"
#include "transport/can/CanNets.h"
#include "ui/Icons.h"
#include "ui/MainTexts.h"
#include "ui/QtHost.h"
#include "ui/WindowPlacement.h"
#include "ui/grid/ParameterGrid.h"
#include "ui/measure/MeasurementFrames.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

// Stored colours hold blue in the high byte.
const QColor Background(0xF0, 0xF0, 0xF0);
const QColor FrameTitle(0x21, 0x24, 0x5F);

QLabel* label(const char* name, const QString& text, QWidget* parent)
{
    auto* shown = new QLabel(text, parent);
    shown->setObjectName(QLatin1String(name));
    return shown;
}

QGroupBox* frame(const char* name, const QString& caption, QWidget* parent)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

}  // namespace

frmMain::frmMain(AppState& state, InterfaceChooser* chooser, QWidget* parent)
    : QMainWindow(parent), state_(state), chooser_(chooser)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(MainCaption(state_.core.AppTitle, QUELBRIN_VERSION_MAJOR, QUELBRIN_VERSION_MINOR,
                               QUELBRIN_VERSION_REVISION));
    setWindowIcon(Icon(QStringLiteral("IMG_LOGO")));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Background);
    setPalette(palette);
    setAutoFillBackground(true);

    auto* central = new QWidget;
    auto* areas = new QVBoxLayout(central);
    areas->addWidget(buildHeader());
    areas->addWidget(buildDeviceFrame());
    measurementFrames_ = new MeasurementFrames(host(), central);
    areas->addWidget(measurementFrames_->measurementFrame());
    areas->addWidget(measurementFrames_->digitalFrame());
    areas->addWidget(buildParameterFrame(), 1);
    // On a screen smaller than the areas they scroll rather than squeeze over each other.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    scroll->setWidget(central);
    setCentralWidget(scroll);
    buildStatusBar();
    buildMenus();
    colourFrames();
    setMinimumSize(TwipsToPixels(MinWidthTwips), TwipsToPixels(MinHeightTwips));
    resize(TwipsToPixels(DesignWidthTwips), TwipsToPixels(DesignHeightTwips));
    KeepOnScreen(*this);
    RestoreWindowPlacement(state_.core, *this, MinWidthTwips, MinHeightTwips);

    sigTimer_.setObjectName(QStringLiteral("SigTimer"));
    unloadTimer_.setObjectName(QStringLiteral("UnloadTimer"));
    connect(&sigTimer_, &QTimer::timeout, this, &frmMain::SigTimer_Timer);
    connect(&unloadTimer_, &QTimer::timeout, this, &frmMain::UnloadTimer_Timer);
    connectMeasurementFrames();
    if (auto* qtHost = dynamic_cast<QtHost*>(state_.core.host)) {
        connect(qtHost, &QtHost::statusTextChanged, this, &frmMain::showStatusText);
        connect(qtHost, &QtHost::progressChanged, this, &frmMain::showProgress);
        connect(qtHost, &QtHost::deviceViewsClosing, this, &frmMain::CloseDeviceViews);
        connect(qtHost, &QtHost::windowsRefreshRequested, this, &frmMain::Global_Update);
    }
    Update();
}

frmMain::~frmMain() = default;

Host& frmMain::host() const { return *state_.core.host; }

QWidget* frmMain::buildHeader()
{
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("PictureHeader"));
    header->setAutoFillBackground(true);
    QPalette palette = header->palette();
    palette.setColor(QPalette::Window, Qt::white);
    header->setPalette(palette);
    auto* row = new QHBoxLayout(header);
    row->addStretch(1);
    auto* names = new QVBoxLayout;
    auto* product = new QLabel(QStringLiteral("Quelbrin"), header);
    product->setObjectName(QStringLiteral("LabelLogo0"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    product->setFont(big);
    product->setStyleSheet(QStringLiteral("color: #5F2421;"));
    auto* role = new QLabel(QStringLiteral("Assistant"), header);
    role->setObjectName(QStringLiteral("LabelLogo1"));
    names->addWidget(product, 0, Qt::AlignRight);
    names->addWidget(role, 0, Qt::AlignRight);
    row->addLayout(names);
    auto* picture = new QLabel(header);
    picture->setObjectName(QStringLiteral("ImageLogo"));
    picture->setPixmap(IconPixmap(QStringLiteral("IMG_LOGO"), 40));
    row->addWidget(picture);
    return header;
}

QGroupBox* frmMain::buildDeviceFrame()
{
    QGroupBox* box = frame("FrameDevice", QStringLiteral("Appareil"), this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(label("LabelCurrentIf", QStringLiteral("Interface"), box), 0, 0, Qt::AlignTop);
    LabelCurrentIfVal_ = label("LabelCurrentIfVal", QStringLiteral("Aucun"), box);
    LabelCurrentIfVal_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(LabelCurrentIfVal_, 0, 1);
    grid->addWidget(label("LabelDevice", QStringLiteral("Appareil"), box), 1, 0);
    imcmbDevices_ = new QComboBox(box);
    imcmbDevices_->setObjectName(QStringLiteral("imcmbDevices"));
    imcmbDevices_->setPlaceholderText(QStringLiteral("Non raccordé"));
    imcmbDevices_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(imcmbDevices_, &QComboBox::activated, this, &frmMain::chooseDevice);
    grid->addWidget(imcmbDevices_, 1, 1);
    grid->setColumnStretch(1, 1);
    buildNetWatch(grid);
    return box;
}

QGroupBox* frmMain::buildParameterFrame()
{
    QGroupBox* box = frame("FrameDevPara", QStringLiteral("Paramètres de l'appareil"), this);
    auto* inside = new QVBoxLayout(box);
    auto* picture = new QWidget(box);
    picture->setObjectName(QStringLiteral("PictureParameters"));
    auto* pictureLayout = new QVBoxLayout(picture);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    fpSpreadParameters_ = new ParameterGrid(
        state_, GridHooks{guard_, [this] { sigTimer_.stop(); }, [this] { resumeMeasurement(); }}, picture);
    pictureLayout->addWidget(fpSpreadParameters_);
    connect(fpSpreadParameters_, &ParameterGrid::bitMaskRequested, this, &frmMain::showBitMask);
    connect(fpSpreadParameters_, &ParameterGrid::pdoWindowRequested, this, &frmMain::showPdoWindow);
    connect(fpSpreadParameters_, &ParameterGrid::tedsEditorRequested, this, [this] { editTeds(); });
    inside->addWidget(picture);
    return box;
}

void frmMain::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("SBar"));
    SBarPanel1_ = label("SBarPanel1", {}, bar);
    bar->addWidget(SBarPanel1_, 1);
    ProgBar_ = new QProgressBar(bar);
    ProgBar_->setObjectName(QStringLiteral("ProgBar"));
    ProgBar_->setTextVisible(false);
    ProgBar_->hide();
    bar->addPermanentWidget(ProgBar_, 1);
}

void frmMain::colourFrames()
{
    for (QGroupBox* box : findChildren<QGroupBox*>())
        box->setStyleSheet(QStringLiteral("QGroupBox { font-weight: bold; } QGroupBox::title { color: %1; }"
                                          " QGroupBox > QWidget { font-weight: normal; }")
                               .arg(FrameTitle.name()));
}

void frmMain::showStatusText(const QString& text)
{
    SBarPanel1_->setText(text);
    SBarPanel1_->repaint();
}

void frmMain::showProgress(int value, int max)
{
    ProgBar_->setVisible(max > 0);
    ProgBar_->setRange(0, max);
    ProgBar_->setValue(value);
    ProgBar_->repaint();
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (firstActivation_)
        QTimer::singleShot(0, this, &frmMain::activate);
}

void frmMain::activate()
{
    raise();
    activateWindow();
    if (!firstActivation_)
        return;
    OperationGuard::Scope operation(guard_);
    if (!operation)
        return;
    firstActivation_ = false;
    setEnabled(false);
    host().processEvents();
    InterfaceSettings& current = state_.CurrentInterface;
    if (state_.StandardInterface.InterfaceType != NoInterfaceKind) {
        current = state_.StandardInterface;
        current.Connected = false;
        // A failed connect has shown its message; what counts below is whether it is connected.
        static_cast<void>(Interface_Connect(state_, current));
    }
    InitParameterGroup();
    host().processEvents();
    if (current.Connected) {
        if (current.InterfaceType == CANBus)
            CAN_FindNet(state_, current);
    } else if (chooser_ != nullptr) {
        // The command shows its own failures; the device list shows what it found.
        static_cast<void>(Interface_SelectAndConnect(state_, current, *chooser_, &host()));
    }
    state_.CurrentDevice = 0;
    InitParameterGroup();
    Global_Update();
    setEnabled(true);
    // Being disabled took the keyboard focus away: it starts again at the first control.
    if (focusWidget() == nullptr)
        focusNextChild();
    emit firstActivationDone();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closing during an operation waits for its end, as the exit command does.
    if (guard_.busy()) {
        event->ignore();
        unloadTimer_.start(UnloadDelayMs);
        return;
    }
    if (!shutDown_) {
        SaveWindowPlacement(state_.core, *this, &host());
        shutDown();
    }
    QMainWindow::closeEvent(event);
}

void frmMain::UnloadTimer_Timer()
{
    // An operation still running ends first; the timer tries again.
    if (guard_.busy())
        return;
    unloadTimer_.stop();
    close();
}

void frmMain::shutDown()
{
    OperationGuard::Scope operation(guard_);
    shutDown_ = true;
    sigTimer_.stop();
    host().processEvents();
    Interface_Disconnect(state_, state_.CurrentInterface);
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this)
            window->close();
}
