#pragma once
#include <QWidget>

class QTextBrowser;
class QUrl;

// The program's help window "frmHelp": a page browser with back, forward and
// contents buttons. Links between pages work like a small web site.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    // contentsPage: the page the contents button opens.
    HelpWindow(const QUrl& contentsPage, QWidget* parent = nullptr);

    void showPage(const QUrl& page);
    QTextBrowser* browser() const { return browser_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* browser_;
};
