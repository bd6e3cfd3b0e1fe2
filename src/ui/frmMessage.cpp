#include "ui/frmMessage.h"

#include "core/Host.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QStyle>

#include <algorithm>
#include <array>

namespace {

// Answer of each button position, whatever the captions say.
constexpr std::array<int, 3> AnswerByPosition{msg::Yes, msg::No, msg::Cancel};

constexpr int ButtonMinWidth = 88;
constexpr int IconTextGap = 16;
constexpr int TextButtonGap = 16;
constexpr int Margin = 18;

struct Image {
    const char* name;
    QStyle::StandardPixmap picture;
};

constexpr Image Warning{"IMG_WARNING", QStyle::SP_MessageBoxWarning};
constexpr Image Fatal{"IMG_FATAL", QStyle::SP_MessageBoxCritical};
constexpr Image Question{"IMG_QUESTION", QStyle::SP_MessageBoxQuestion};
constexpr Image Info{"IMG_INFO", QStyle::SP_MessageBoxInformation};

bool hasBits(int style, int bits)
{
    return (style & bits) == bits;
}

QStringList captionsFor(int style)
{
    if (hasBits(style, msg::YesNoCancel))
        return {QStringLiteral("Oui"), QStringLiteral("Non"), QStringLiteral("Annuler")};
    if (hasBits(style, msg::YesNo))
        return {QStringLiteral("Oui"), QStringLiteral("Non")};
    if (hasBits(style, msg::OkCancel))
        return {QStringLiteral("OK"), QStringLiteral("Annuler")};
    return {QStringLiteral("OK")};
}

// Warning is tested first: its bits contain those of the error and question icons.
Image imageFor(int style)
{
    if (hasBits(style, msg::Warning))
        return Warning;
    if (hasBits(style, msg::Error))
        return Fatal;
    if (hasBits(style, msg::QuestionIcon))
        return Question;
    if (hasBits(style, msg::Information))
        return Info;
    return captionsFor(style).size() > 1 ? Question : Info;
}

// Messages are built with CR LF line ends; a bare LF ends a line too.
QStringList messageLines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.split(QLatin1Char('\n'));
}

QSize textAreaSize(const QStringList& lines, const QFontMetrics& metrics)
{
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return {width, static_cast<int>(lines.size()) * metrics.lineSpacing()};
}

}  // namespace

frmMessage::frmMessage(const QString& text, int style, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMessage"));
    // The program's name, not a display name set on the application: the platform
    // would append that to every window title.
    setWindowTitle(QStringLiteral("Assistant Quelbrin"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(Margin, Margin, Margin, Margin * 2 / 3);
    layout->setSpacing(TextButtonGap);
    layout->addLayout(messageRow(text, style));
    layout->addLayout(buttonRow(style));
}

QLayout* frmMessage::messageRow(const QString& text, int style)
{
    const Image image = imageFor(style);
    const int iconSize = this->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ImageIcon"));
    icon->setProperty("imageName", QString::fromLatin1(image.name));
    icon->setPixmap(this->style()->standardIcon(image.picture, nullptr, this).pixmap(iconSize));

    const QStringList lines = messageLines(text);
    auto* message = new QLabel(this);
    message->setObjectName(QStringLiteral("LabelMessage"));
    message->setTextFormat(Qt::PlainText);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message->setText(lines.join(QLatin1Char('\n')));
    message->setFixedSize(textAreaSize(lines, message->fontMetrics()));

    auto* row = new QHBoxLayout;
    row->setSpacing(IconTextGap);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(message, 0, Qt::AlignLeft | Qt::AlignVCenter);
    row->addStretch();
    return row;
}

QLayout* frmMessage::buttonRow(int style)
{
    const QStringList captions = captionsFor(style);
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (int index = 0; index < captions.size(); ++index) {
        auto* button = new QPushButton(captions[index], this);
        button->setObjectName(QStringLiteral("ctlButton%1").arg(index));
        button->setMinimumWidth(ButtonMinWidth);
        const int answer = AnswerByPosition[index];
        connect(button, &QPushButton::clicked, this, [this, answer] { done(answer); });
        row->addWidget(button);
    }
    row->addStretch();
    // Enter takes the first button, as in the platform's message box.
    findChild<QPushButton*>(QStringLiteral("ctlButton0"))->setDefault(true);
    closeAnswer_ = AnswerByPosition[captions.size() - 1];
    return row;
}

int frmMessage::ask(QWidget* parent, const QString& text, int style)
{
    frmMessage dialog(text, style, parent);
    const int answer = dialog.exec();
    QCoreApplication::processEvents();
    return answer;
}

void frmMessage::reject()
{
    done(closeAnswer_);
}

void frmMessage::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centerOnScreen();
    // Bring it to the front once, above the program's other windows.
    raise();
    activateWindow();
}

void frmMessage::centerOnScreen()
{
    const QRect area = screen()->availableGeometry();
    move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(), area)
             .topLeft());
}
