#pragma once
#include <QDialog>
#include <QString>

class QLayout;
class QShowEvent;

// The program's own message box: French button captions, the program's icons,
// and an answer per button position (msg::Yes, msg::No, msg::Cancel from core/Host.h).
//
// Controls: "LabelMessage" (the text), "ImageIcon" (its "imageName" property holds
// "IMG_WARNING", "IMG_FATAL", "IMG_QUESTION" or "IMG_INFO"), "ctlButton0".."ctlButton2"
// left to right.
class frmMessage : public QDialog {
    Q_OBJECT

public:
    // style: one button set (msg::Ok, OkCancel, YesNoCancel, YesNo) plus one icon
    // (msg::Error, QuestionIcon, Warning, Information), as in a platform message box.
    frmMessage(const QString& text, int style, QWidget* parent = nullptr);

    // Shows the message modally and returns the answer of the pressed button;
    // pending events run before it returns.
    static int ask(QWidget* parent, const QString& text, int style);

public slots:
    // Escape and the window's close box answer like the last button
    // (Cancel, No, or OK when it is alone), as a user expects of "go away".
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLayout* messageRow(const QString& text, int style);
    QLayout* buttonRow(int style);
    void centerOnScreen();

    int closeAnswer_ = 0;
};
