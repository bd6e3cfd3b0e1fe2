#include "ui/teds/frmTEDS.h"

#include "core/AppCore.h"
#include "core/Host.h"
#include "core/SafeFile.h"
#include "device/TedsHelper.h"
#include "model/teds/TedsFieldText.h"
#include "ui/FileChoosers.h"
#include "ui/Icons.h"
#include "ui/WindowPlacement.h"

#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { ColumnName, ColumnValue, ColumnUnit };
constexpr int BytesPerLine = 16;
constexpr int FieldIndexRole = Qt::UserRole;
// The largest TEDS block a device holds; a larger file is no TEDS and is not read at all.
constexpr qint64 MaxTedsBytes = 4096;
// The values the user may change stand out from the others.
const QColor EditableBackground(0xFF, 0xF8, 0xDC);

// Offset, then the bytes in hex: "0000  C4 31 80 ...", 16 bytes a line.
QString hexLines(const QByteArray& image)
{
    QStringList lines;
    for (int offset = 0; offset < image.size(); offset += BytesPerLine)
        lines << QStringLiteral("%1  ").arg(offset, 4, 16, QChar('0')).toUpper() +
                     QString::fromLatin1(image.mid(offset, BytesPerLine).toHex(' ').toUpper());
    return lines.join('\n');
}

// Why a file of this size holds no TEDS, or nothing when it may.
QString sizeRefusal(const QString& path, qint64 size)
{
    if (size == 0)
        return QStringLiteral("Le fichier '%1' est vide : il ne contient aucun TEDS !").arg(path);
    if (size > MaxTedsBytes)
        return QStringLiteral("Le fichier '%1' est trop grand pour un TEDS : %2 octets au lieu de %3 au plus !")
            .arg(path)
            .arg(size)
            .arg(MaxTedsBytes);
    return {};
}

QPushButton* button(const QString& name, const QString& text, QWidget* parent)
{
    auto* result = new QPushButton(text, parent);
    result->setObjectName(name);
    result->setAutoDefault(false);
    return result;
}

}  // namespace

frmTEDS::frmTEDS(AppCore& core, TEDSHelper& helper, int32_t userLevel, const QString& deviceName, QWidget* parent)
    : QDialog(parent), core_(core), helper_(helper), userLevel_(userLevel)
{
    setObjectName(QStringLiteral("frmTEDS"));
    setWindowTitle(QStringLiteral("Éditeur TEDS"));
    setWindowIcon(Icon(QStringLiteral("IMG_TEDS")));

    LabelDevice = new QLabel(QStringLiteral("Appareil : ") + deviceName, this);
    LabelDevice->setObjectName(QStringLiteral("LabelDevice"));

    GridFields = new QTableWidget(0, 3, this);
    GridFields->setObjectName(QStringLiteral("GridFields"));
    GridFields->setHorizontalHeaderLabels({QStringLiteral("Propriété"), QStringLiteral("Valeur"),
                                           QStringLiteral("Unité")});
    GridFields->verticalHeader()->hide();
    // Arrows move among the cells; Tab goes on to the buttons.
    GridFields->setTabKeyNavigation(false);
    GridFields->setSelectionMode(QAbstractItemView::SingleSelection);
    GridFields->horizontalHeader()->setSectionResizeMode(ColumnName, QHeaderView::ResizeToContents);
    GridFields->horizontalHeader()->setSectionResizeMode(ColumnValue, QHeaderView::Interactive);
    GridFields->horizontalHeader()->setSectionResizeMode(ColumnUnit, QHeaderView::Stretch);
    GridFields->setColumnWidth(ColumnValue, fontMetrics().horizontalAdvance(QStringLiteral("Quart de pont")) * 2);
    GridFields->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    connect(GridFields, &QTableWidget::itemChanged, this, &frmTEDS::fieldEdited);

    LabelState = new QLabel(this);
    LabelState->setObjectName(QStringLiteral("LabelState"));
    LabelState->setWordWrap(true);

    TextHex = new QPlainTextEdit(this);
    TextHex->setObjectName(QStringLiteral("TextHex"));
    TextHex->setReadOnly(true);
    TextHex->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    TextHex->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(GridFields);
    splitter->addWidget(TextHex);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    // Room for two pages of memory, four lines.
    TextHex->setMinimumHeight(TextHex->fontMetrics().lineSpacing() * 5);
    splitter->setSizes({TwipsToPixels(MinHeightTwips), TextHex->fontMetrics().lineSpacing() * 7});
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelDevice);
    layout->addWidget(splitter, 1);
    layout->addWidget(LabelState);
    layout->addWidget(buildButtons());

    setMinimumSize(TwipsToPixels(MinWidthTwips), TwipsToPixels(MinHeightTwips));
    RestoreWindowPlacement(core_, *this, MinWidthTwips, MinHeightTwips);
    setImage({});
}

frmTEDS::~frmTEDS()
{
    static_cast<void>(SaveWindowPlacement(core_, *this, nullptr));
}

QWidget* frmTEDS::buildButtons()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    cmdRead = button(QStringLiteral("cmdRead"), QStringLiteral("&Lire"), row);
    cmdWrite = button(QStringLiteral("cmdWrite"), QStringLiteral("É&crire"), row);
    cmdActivate = button(QStringLiteral("cmdActivate"), QStringLiteral("&Activer"), row);
    cmdLoad = button(QStringLiteral("cmdLoad"), QStringLiteral("C&harger..."), row);
    cmdSave = button(QStringLiteral("cmdSave"), QStringLiteral("&Sauvegarder..."), row);
    cmdClose = button(QStringLiteral("cmdClose"), QStringLiteral("&Fermer"), row);
    connect(cmdRead, &QPushButton::clicked, this, &frmTEDS::readFromDevice);
    connect(cmdWrite, &QPushButton::clicked, this, &frmTEDS::writeToDevice);
    connect(cmdActivate, &QPushButton::clicked, this, &frmTEDS::activate);
    connect(cmdLoad, &QPushButton::clicked, this, [this] { loadFile(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { saveFile(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* each : {cmdRead, cmdWrite, cmdActivate, cmdLoad, cmdSave})
        layout->addWidget(each);
    layout->addStretch(1);
    layout->addWidget(cmdClose);
    return row;
}

void frmTEDS::setImage(const QByteArray& image)
{
    image_ = image;
    content_ = decodeTeds(image_).content;
    showFields();
    showImage();
}

void frmTEDS::showImage()
{
    showState(image_.isEmpty() ? QString() : decodeTeds(image_).message);
    TextHex->setPlainText(hexLines(image_));
    cmdSave->setEnabled(!image_.isEmpty());
    showDeviceCommands();
}

// A device the net has dropped is asked nothing more: each try would wait out its time-outs.
void frmTEDS::showDeviceCommands()
{
    const bool online = helper_.deviceOnline();
    cmdRead->setEnabled(online);
    cmdWrite->setEnabled(online && !image_.isEmpty());
    cmdActivate->setEnabled(online);
}

bool frmTEDS::editable(const TedsFieldLayout& layout) const
{
    if (&layout == &TemplateIdField() || layout.access == TedsAccess::Fixed || userLevel_ <= 0)
        return false;
    return layout.access != TedsAccess::Id || userLevel_ >= 2;
}

void frmTEDS::showFields()
{
    filling_ = true;
    GridFields->setRowCount(0);
    for (int index = 0; content_ && index < content_->fields.size(); ++index) {
        const TedsField& field = content_->fields.at(index);
        if (field.layout->label.isEmpty())
            continue;
        const int row = GridFields->rowCount();
        GridFields->insertRow(row);
        auto* name = new QTableWidgetItem(field.layout->label);
        auto* value = new QTableWidgetItem(tedsValueText(field));
        auto* unit = new QTableWidgetItem(field.layout->unit);
        value->setData(FieldIndexRole, index);
        name->setFlags(Qt::ItemIsEnabled);
        unit->setFlags(Qt::ItemIsEnabled);
        value->setFlags(editable(*field.layout) ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                              : Qt::ItemIsEnabled);
        if (editable(*field.layout))
            value->setBackground(EditableBackground);
        GridFields->setItem(row, ColumnName, name);
        GridFields->setItem(row, ColumnValue, value);
        GridFields->setItem(row, ColumnUnit, unit);
    }
    filling_ = false;
}

// The state under the fields: sound, partly decoded or refused, with its colour.
void frmTEDS::showState(const QString& note)
{
    QString text = note;
    QString colour = QStringLiteral("#b00000");
    if (image_.isEmpty()) {
        text = QStringLiteral("Aucun TEDS n'a été lu.");
        colour = palette().color(QPalette::WindowText).name();
    } else if (content_ && note.isEmpty()) {
        text = QStringLiteral("TEDS décodé, sommes de contrôle correctes.");
        colour = QStringLiteral("#006400");
    } else if (content_) {
        colour = QStringLiteral("#8a5000");
    }
    LabelState->setText(text);
    LabelState->setStyleSheet(QStringLiteral("color: %1;").arg(colour));
}

void frmTEDS::fieldEdited(QTableWidgetItem* item)
{
    if (filling_ || !content_ || item->column() != ColumnValue)
        return;
    TedsField& field = content_->fields[item->data(FieldIndexRole).toInt()];
    if (const std::optional<uint64_t> code = tedsCodeOf(*field.layout, item->text())) {
        field.raw = *code;
        image_ = encodeTeds(*content_, image_);
        showImage();
    } else {
        showMessage(QStringLiteral("Valeur incorrecte pour '%1' : '%2'").arg(field.layout->label, item->text()),
                    msg::Warning);
    }
    filling_ = true;
    item->setText(tedsValueText(field));
    filling_ = false;
}

int frmTEDS::showMessage(const QString& text, int style)
{
    return ShowMessage(*core_.host, text, style);
}

void frmTEDS::readFromDevice()
{
    QByteArray block;
    const int32_t result = helper_.ReadTEDS(0, block);
    if (result < 0)
        showMessage(QStringLiteral("Erreur lors de la lecture de TEDS (%1) !").arg(result), msg::Error);
    else
        setImage(block);
    showDeviceCommands();
}

void frmTEDS::writeToDevice()
{
    if (image_.isEmpty())
        return;
    const int32_t result = helper_.WriteTEDS(0, image_, int32_t(image_.size()));
    if (result < 0)
        showMessage(QStringLiteral("Erreur lors de l'écriture de TEDS (%1) !").arg(result), msg::Error);
    else if (showMessage(QStringLiteral("TEDS a été écrit dans l'appareil.\r\nActiver TEDS maintenant ?"),
                         msg::Question) == msg::Yes)
        activate();
    showDeviceCommands();
}

void frmTEDS::activate()
{
    QString errors;
    QString warnings;
    // The activation shows its own refusal.
    static_cast<void>(helper_.ActivateTEDS(0, errors, warnings));
    showDeviceCommands();
}

void frmTEDS::loadFile(QString path)
{
    if (path.isEmpty())
        path = GetOpenTEDSName(this, core_);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(QStringLiteral("Impossible de lire le fichier '%1' !").arg(path), msg::Warning);
        return;
    }
    if (const QString refusal = sizeRefusal(path, file.size()); !refusal.isEmpty()) {
        showMessage(refusal, msg::Warning);
        return;
    }
    setImage(file.readAll());
}

void frmTEDS::saveFile(QString path)
{
    if (path.isEmpty())
        path = GetSaveTEDSName(this, core_);
    if (!path.isEmpty() && !writeFileSafely(path, image_))
        showMessage(QStringLiteral("Erreur lors de l'enregistrement du fichier '%1' !").arg(path), msg::Warning);
}
