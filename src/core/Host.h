#pragma once
#include <QString>

// Message styles (button set + icon), as the message dialog understands them.
namespace msg {
constexpr int Ok = 0;
constexpr int OkCancel = 1;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int Error = 16;
constexpr int QuestionIcon = 32;
constexpr int Warning = 48;
constexpr int Information = 64;
constexpr int Question = YesNo + QuestionIcon;  // 36

// Answers: the first button answers Yes (also "OK"), the second No, the third Cancel.
constexpr int Yes = 6;
constexpr int No = 7;
constexpr int Cancel = 2;
}  // namespace msg

// Everything the non-window layers need from the person in front of the program.
// The Qt application implements it with the message dialog and the main window;
// tests implement it with a scripted host.
class Host {
public:
    virtual ~Host() = default;

    // Shows a message and returns the answer (msg::Yes, msg::No or msg::Cancel).
    virtual int showMessage(const QString& text, int style) = 0;
    // The mouse pointer: busy or normal. Called only when it changes; BusyPointer and
    // NormalPointer decide.
    virtual void setBusy(bool busy) = 0;
    // Status panel of the main window; "" clears it.
    virtual void setStatusText(const QString& text) = 0;
    // Progress bar; max 0 hides it.
    virtual void setProgress(int value, int max) = 0;
    virtual void processEvents() = 0;
    virtual void sleepMs(int ms) = 0;
    // Window hooks: close the views of a device, refresh every open window.
    virtual void closeDeviceViews() = 0;
    virtual void refreshAllWindows() = 0;

private:
    friend class BusyPointer;
    friend class NormalPointer;
    // Scopes alive of each kind; the pointer is busy while a BusyPointer lives and no
    // NormalPointer does.
    void changePointerScopes(int busy, int normal);

    int busyScopes_ = 0;
    int normalScopes_ = 0;
};

// Shows text in the message dialog with the given style and returns the answer.
int ShowMessage(Host& host, const QString& text, int style);

// Shows the busy pointer while alive; restores the previous pointer on every exit.
class BusyPointer {
public:
    explicit BusyPointer(Host& host) : host_(host) { host_.changePointerScopes(1, 0); }
    ~BusyPointer() { host_.changePointerScopes(-1, 0); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Host& host_;
};

// Shows the normal pointer while alive, whatever busy scopes enclose it (a message
// that ends an operation); they show the busy pointer again afterwards.
class NormalPointer {
public:
    explicit NormalPointer(Host& host) : host_(host) { host_.changePointerScopes(0, 1); }
    ~NormalPointer() { host_.changePointerScopes(0, -1); }
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;

private:
    Host& host_;
};
