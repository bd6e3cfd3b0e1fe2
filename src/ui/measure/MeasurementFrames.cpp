#include "ui/measure/MeasurementFrames.h"

#include "ui/Icons.h"
#include "ui/measure/TrendChart.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int LampSize = 16;
constexpr uint32_t TedsErrorFrom = 2;
const QString Inactive = QStringLiteral("IMG_INACTIVE");
const QColor ValueBackground(0x10, 0x10, 0x10);
const QColor NeutralText(0xE0, 0xE0, 0xE0);

QLabel* named(QLabel* label, const QString& name)
{
    label->setObjectName(name);
    return label;
}

QLabel* lamp(const QString& name, QWidget* parent)
{
    auto* image = named(new QLabel(parent), name);
    image->setPixmap(IconPixmap(Inactive, LampSize));
    image->setProperty("imageName", Inactive);
    return image;
}

// A row of lamps with their captions under them and a heading before them.
QHBoxLayout* lampRow(QWidget* parent, const QString& headingName, const QString& heading, const QString& imageName,
                     const QString& captionName, const QStringList& captions)
{
    auto* row = new QHBoxLayout;
    if (!heading.isEmpty())
        row->addWidget(named(new QLabel(heading, parent), headingName));
    for (int i = 0; i < captions.size(); ++i) {
        auto* cell = new QVBoxLayout;
        cell->addWidget(lamp(imageName + QString::number(i), parent), 0, Qt::AlignHCenter);
        cell->addWidget(named(new QLabel(captions[i], parent), captionName + QString::number(i)), 0,
                        Qt::AlignHCenter);
        row->addLayout(cell);
    }
    return row;
}

QColor colourOf(ValueColour colour)
{
    const auto stored = uint32_t(colour);   // red in the low byte
    return {int(stored & 0xFF), int((stored >> 8) & 0xFF), int((stored >> 16) & 0xFF)};
}

void showImage(QLabel* image, const QString& name, const QString& toolTip)
{
    image->setPixmap(IconPixmap(name, LampSize));
    image->setProperty("imageName", name);
    image->setToolTip(toolTip);
    image->show();
}

}  // namespace

QString lampImage(const QWidget& root, const QString& lampName)
{
    const auto* image = root.findChild<QLabel*>(lampName);
    return image ? image->property("imageName").toString() : QString();
}

MeasurementFrames::MeasurementFrames(Host& host, QWidget* parent) : QObject(parent)
{
    trend_ = new TrendChart(host, parent);
    buildMeasurementFrame(parent);
    buildDigitalFrame(parent);
    for (QLabel* watched : {LabelMeasVal_, ImageRecording_, ImageHasTEDS_, ImageTEDSState_})
        watched->installEventFilter(this);
}

void MeasurementFrames::buildMeasurementFrame(QWidget* parent)
{
    FrameMeas_ = new QGroupBox(QStringLiteral("Valeur et état"), parent);
    FrameMeas_->setObjectName(QStringLiteral("FrameMeas"));
    QGroupBox* box = FrameMeas_;
    auto* grid = new QGridLayout(box);
    grid->addWidget(named(new QLabel(QStringLiteral("Valeur mesurée"), box), QStringLiteral("LabelMeasValue")), 0, 0);
    LabelMeasVal_ = named(new QLabel(QStringLiteral("Non raccordé"), box), QStringLiteral("LabelMeasVal"));
    LabelMeasVal_->setFont(QFont(QStringLiteral("Tahoma"), 14, QFont::Bold));
    LabelMeasVal_->setToolTip(QStringLiteral("Double-cliquer pour afficher l'état de l'appareil"));
    LabelMeasVal_->setFrameShape(QFrame::StyledPanel);
    LabelMeasVal_->setAutoFillBackground(true);
    LabelMeasVal_->setContentsMargins(6, 2, 6, 2);
    LabelMeasVal_->setMinimumHeight(LabelMeasVal_->fontMetrics().height() + 8);
    setValueColours(NeutralText);
    grid->addWidget(LabelMeasVal_, 0, 1);
    ImageRecording_ = named(new QLabel(box), QStringLiteral("ImageRecording"));
    ImageRecording_->setPixmap(IconPixmap(QStringLiteral("IMG_RECORD"), LampSize));
    grid->addWidget(ImageRecording_, 0, 2);

    trend_->setParent(box);
    trend_->hide();
    grid->addWidget(trend_, 1, 0, 1, 3);

    auto* signal = new QHBoxLayout;
    signal->addWidget(named(new QLabel(QStringLiteral("Signal "), box), QStringLiteral("LabelMeasSignal")));
    ComboMeasSignal_ = new QComboBox(box);
    ComboMeasSignal_->setObjectName(QStringLiteral("ComboMeasSignal"));
    ComboMeasSignal_->addItem(QStringLiteral("Net"), 1);
    ComboMeasSignal_->addItem(QStringLiteral("Brut"), 0);
    connect(ComboMeasSignal_, &QComboBox::activated, this,
            [this](int row) { emit signalChosen(int16_t(ComboMeasSignal_->itemData(row).toInt())); });
    signal->addWidget(ComboMeasSignal_);
    signal->addStretch(1);
    ImageHasTEDS_ = named(new QLabel(box), QStringLiteral("ImageHasTEDS"));
    ImageHasTEDS_->setPixmap(IconPixmap(QStringLiteral("IMG_TEDS"), LampSize));
    ImageTEDSState_ = named(new QLabel(box), QStringLiteral("ImageTEDSState"));
    signal->addWidget(ImageHasTEDS_);
    signal->addWidget(ImageTEDSState_);
    grid->addLayout(signal, 2, 0, 1, 3);

    auto* lamps = new QHBoxLayout;
    lamps->addLayout(lampRow(box, QStringLiteral("LabelLIVLabel"), QStringLiteral("Seuils"), QStringLiteral("ImageLIV"),
                             QStringLiteral("LabelLIV"), {"1", "2", "3", "4"}));
    lamps->addSpacing(16);
    lamps->addLayout(lampRow(box, QStringLiteral("LabelSpanLabel"), QStringLiteral("Dépassement de l'étendue"),
                             QStringLiteral("ImageSpan"), QStringLiteral("LabelSpan"),
                             {QStringLiteral("Début"), QStringLiteral("Fin")}));
    lamps->addStretch(1);
    grid->addLayout(lamps, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
}

void MeasurementFrames::buildDigitalFrame(QWidget* parent)
{
    FrameDIO_ = new QGroupBox(QStringLiteral("Etat E/S numériques"), parent);
    FrameDIO_->setObjectName(QStringLiteral("FrameDIO"));
    auto* row = new QHBoxLayout(FrameDIO_);
    row->addLayout(lampRow(FrameDIO_, {}, {}, QStringLiteral("ImageDI"), QStringLiteral("LabelDI"),
                           {QStringLiteral("E1")}));
    row->addSpacing(16);
    row->addLayout(lampRow(FrameDIO_, {}, {}, QStringLiteral("ImageDO"), QStringLiteral("LabelDO"),
                           {QStringLiteral("A1"), QStringLiteral("A2")}));
    row->addStretch(1);
    FrameDIO_->hide();
}

void MeasurementFrames::setValueColours(const QColor& text)
{
    QPalette palette = LabelMeasVal_->palette();
    palette.setColor(QPalette::Window, ValueBackground);
    palette.setColor(QPalette::WindowText, text);
    LabelMeasVal_->setPalette(palette);
}

void MeasurementFrames::setLamp(const QString& name, const QString& image)
{
    QLabel* lampLabel = FrameMeas_->findChild<QLabel*>(name);
    if (!lampLabel)
        lampLabel = FrameDIO_->findChild<QLabel*>(name);
    if (!lampLabel || lampLabel->property("imageName").toString() == image)
        return;
    lampLabel->setPixmap(IconPixmap(image, LampSize));
    lampLabel->setProperty("imageName", image);
}

void MeasurementFrames::paint(const TickDisplay& shown)
{
    setValueColours(colourOf(shown.colour));
    LabelMeasVal_->setText(shown.text);
    for (int i = 0; i < 4; ++i)
        setLamp(QStringLiteral("ImageLIV%1").arg(i), shown.lamps.limits[i]);
    for (int i = 0; i < 2; ++i) {
        setLamp(QStringLiteral("ImageSpan%1").arg(i), shown.lamps.span[i]);
        setLamp(QStringLiteral("ImageDO%1").arg(i), shown.lamps.outputs[i]);
    }
    setLamp(QStringLiteral("ImageDI0"), shown.lamps.input);
}

void MeasurementFrames::showText(const QString& text)
{
    setValueColours(NeutralText);
    LabelMeasVal_->setText(text);
}

void MeasurementFrames::showState(const DeviceStateView& view)
{
    ComboMeasSignal_->setCurrentIndex(ComboMeasSignal_->findData(int(view.signal)));
    if (!view.connected) {
        showText(QStringLiteral("Non raccordé"));
        ImageRecording_->hide();
        ImageHasTEDS_->hide();
        ImageTEDSState_->hide();
        return;
    }
    if (!view.measuring) {
        showText(QStringLiteral("Arrêté"));
        ImageRecording_->hide();
    } else if (!view.recordingPath.isEmpty()) {
        ImageRecording_->setToolTip(QStringLiteral("Enregistrement en cours. Fichier : '") + view.recordingPath +
                                    QStringLiteral("'"));
        ImageRecording_->show();
    } else {
        ImageRecording_->hide();
    }
    if (view.teds.hasTeds == 0) {
        ImageHasTEDS_->hide();
        ImageHasTEDS_->setToolTip({});
        ImageTEDSState_->hide();
        ImageTEDSState_->setToolTip({});
        return;
    }
    ImageHasTEDS_->setToolTip(QStringLiteral("TEDS a été reconnu"));
    ImageHasTEDS_->show();
    if (view.teds.errorStatus >= TedsErrorFrom)
        showImage(ImageTEDSState_, QStringLiteral("IMG_ERROR"), QStringLiteral("Erreur dans l'état TEDS !"));
    else if (view.teds.active)
        showImage(ImageTEDSState_, QStringLiteral("IMG_OK"), QStringLiteral("Configuration de la voie correspondante à TEDS."));
    else
        showImage(ImageTEDSState_, QStringLiteral("IMG_DIFF"), QStringLiteral("Configuration de la voie divergente de TEDS !"));
}

bool MeasurementFrames::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == LabelMeasVal_)
            emit deviceStatusRequested();
        else if (watched == ImageRecording_)
            emit recordingDoubleClicked();
        else if (watched == ImageHasTEDS_)
            emit tedsImageDoubleClicked();
        else if (watched == ImageTEDSState_)
            emit tedsStateDoubleClicked();
    }
    return QObject::eventFilter(watched, event);
}
