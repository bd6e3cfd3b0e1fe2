#include "ui/frmMessage.h"

#include "core/Host.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

namespace {

struct StyleCase {
    int style;
    QStringList captions;  // left to right
    QString image;
    std::vector<int> answers;  // of each button, left to right
};

void PrintTo(const StyleCase& c, std::ostream* os)
{
    *os << "style " << c.style;
}

const QString Ok = QStringLiteral("OK");
const QString Yes = QStringLiteral("Oui");
const QString No = QStringLiteral("Non");
const QString Cancel = QStringLiteral("Annuler");

const StyleCase StyleCases[] = {
    {msg::Ok, {Ok}, "IMG_INFO", {msg::Yes}},
    {msg::OkCancel, {Ok, Cancel}, "IMG_QUESTION", {msg::Yes, msg::No}},
    {msg::YesNoCancel, {Yes, No, Cancel}, "IMG_QUESTION", {msg::Yes, msg::No, msg::Cancel}},
    {msg::YesNo, {Yes, No}, "IMG_QUESTION", {msg::Yes, msg::No}},
    {msg::Error, {Ok}, "IMG_FATAL", {msg::Yes}},
    {msg::Question, {Yes, No}, "IMG_QUESTION", {msg::Yes, msg::No}},
    {msg::Warning, {Ok}, "IMG_WARNING", {msg::Yes}},
    {msg::Information, {Ok}, "IMG_INFO", {msg::Yes}},
    // Mixed bits show the order in which the rules are tried.
    {msg::YesNoCancel | msg::YesNo, {Yes, No, Cancel}, "IMG_QUESTION",
     {msg::Yes, msg::No, msg::Cancel}},
    {msg::YesNo | msg::OkCancel, {Yes, No}, "IMG_QUESTION", {msg::Yes, msg::No}},
    {msg::OkCancel + msg::Error, {Ok, Cancel}, "IMG_FATAL", {msg::Yes, msg::No}},
    {msg::YesNo + msg::Warning, {Yes, No}, "IMG_WARNING", {msg::Yes, msg::No}},
    {msg::Error + msg::Information, {Ok}, "IMG_FATAL", {msg::Yes}},
    {msg::QuestionIcon + msg::Information, {Ok}, "IMG_QUESTION", {msg::Yes}},
    {msg::Ok + msg::QuestionIcon, {Ok}, "IMG_QUESTION", {msg::Yes}},
};

QPushButton* button(const frmMessage& dialog, qsizetype index)
{
    return dialog.findChild<QPushButton*>(QStringLiteral("ctlButton%1").arg(index));
}

QList<QPushButton*> buttonsOf(const frmMessage& dialog)
{
    QList<QPushButton*> buttons;
    while (QPushButton* next = button(dialog, buttons.size()))
        buttons.append(next);
    return buttons;
}

frmMessage* shownMessage()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<frmMessage*>(widget);
        if (dialog != nullptr && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Runs frmMessage::ask while `act` drives the shown dialog from inside its event loop.
int askAndDo(int style, const std::function<void(frmMessage&)>& act,
             const QString& text = QStringLiteral("Message"))
{
    QTimer::singleShot(0, [act] {
        if (frmMessage* dialog = shownMessage())
            act(*dialog);
        else
            ADD_FAILURE() << "no frmMessage shown";
    });
    return frmMessage::ask(nullptr, text, style);
}

void click(frmMessage& dialog, int index)
{
    QPushButton* target = button(dialog, index);
    if (target == nullptr) {
        ADD_FAILURE() << "no button " << index;
        dialog.done(-1);
        return;
    }
    QTest::mouseClick(target, Qt::LeftButton);
}

class frmMessageStyle : public testing::TestWithParam<StyleCase> {};

// The captions left to right, the image, the answer of each button by its position, and
// Escape and the close box answering like the last button.
TEST_P(frmMessageStyle, ShowsCaptionsAndImageAndAnswersByPosition)
{
    const StyleCase& c = GetParam();
    askAndDo(c.style, [&c](frmMessage& dialog) {
        QStringList captions;
        int lastRight = -1;
        for (QPushButton* shown : buttonsOf(dialog)) {
            captions.append(shown->text());
            EXPECT_GT(shown->x(), lastRight) << shown->objectName().toStdString();
            lastRight = shown->geometry().right();
        }
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(button(dialog, 3), nullptr) << "help button without a help file";
        const auto* icon = dialog.findChild<QLabel*>(QStringLiteral("ImageIcon"));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->property("imageName").toString(), c.image);
        EXPECT_FALSE(icon->pixmap().isNull());
        click(dialog, 0);
    });
    for (int index = 0; index < static_cast<int>(c.answers.size()); ++index)
        EXPECT_EQ(askAndDo(c.style, [index](frmMessage& dialog) { click(dialog, index); }), c.answers[index])
            << index;
    EXPECT_EQ(askAndDo(c.style, [](frmMessage& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }),
              c.answers.back());
    EXPECT_EQ(askAndDo(c.style, [](frmMessage& dialog) { dialog.close(); }), c.answers.back());
}

INSTANTIATE_TEST_SUITE_P(Styles, frmMessageStyle, testing::ValuesIn(StyleCases),
                         [](const testing::TestParamInfo<StyleCase>& info) {
                             return "Style" + std::to_string(info.param.style);
                         });

TEST(frmMessage, IsModalCentredAndNamed)
{
    askAndDo(msg::Information, [](frmMessage& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("frmMessage"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Assistant Quelbrin"));
        EXPECT_TRUE(dialog.isModal());
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        const QPoint offset =
            dialog.frameGeometry().center() - dialog.screen()->availableGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2);
        click(dialog, 0);
    });
}

struct MessageArea {
    QSize size;
    QString text;
    int lineSpacing;
};

MessageArea messageArea(const QString& text)
{
    const frmMessage dialog(text, msg::Information);
    const auto* label = dialog.findChild<QLabel*>(QStringLiteral("LabelMessage"));
    if (label == nullptr) {
        ADD_FAILURE() << "no LabelMessage";
        return {};
    }
    return {label->size(), label->text(), label->fontMetrics().lineSpacing()};
}

// The height follows the line count (CR LF or bare LF), the width the longest line.
TEST(frmMessageArea, FollowsTheLinesOfTheText)
{
    const MessageArea one = messageArea(QStringLiteral("Court"));
    const MessageArea three = messageArea(QStringLiteral("Première ligne\r\nDeuxième ligne\r\nTroisième ligne"));
    EXPECT_NEAR(three.size.height(), 3 * one.size.height(), one.lineSpacing / 2);
    EXPECT_EQ(three.text, QStringLiteral("Première ligne\nDeuxième ligne\nTroisième ligne"));
    const MessageArea bareLineFeeds = messageArea(QStringLiteral("Première ligne\nDeuxième ligne\nTroisième ligne"));
    EXPECT_EQ(bareLineFeeds.size, three.size);
    EXPECT_EQ(bareLineFeeds.text, three.text);

    const QString longLine = QStringLiteral("Erreur lors de la mise du paramètre !  ").repeated(4);
    const MessageArea longOne = messageArea(longLine);
    EXPECT_GT(longOne.size.width(), 3 * one.size.width());
    EXPECT_EQ(longOne.size.height(), one.size.height());
    EXPECT_EQ(messageArea(QStringLiteral("Court\r\n") + longLine + "\r\nCourt").size.width(), longOne.size.width());
}

}  // namespace
