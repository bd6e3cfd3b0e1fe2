#include "ui/HelpWindow.h"

#include "ui/Icons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QPushButton* navigationButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

HelpWindow::HelpWindow(const QUrl& contentsPage, QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Aide - Assistant Quelbrin"));
    setWindowIcon(Icon(QStringLiteral("IMG_HELP")));
    browser_->setObjectName(QStringLiteral("TextHelp"));
    browser_->setOpenExternalLinks(true);

    auto* back = navigationButton(QStringLiteral("cmdButtonBack"), QStringLiteral("< &Précédent"), this);
    auto* forward = navigationButton(QStringLiteral("cmdButtonForward"), QStringLiteral("&Suivant >"), this);
    auto* contents = navigationButton(QStringLiteral("cmdButtonContents"), QStringLiteral("S&ommaire"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(contents, &QPushButton::clicked, this, [this, contentsPage] { showPage(contentsPage); });
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Aide - Assistant Quelbrin")
                                       : QStringLiteral("Aide - ") + title);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(contents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    setMinimumSize(360, 260);
    resize(640, 520);
}

void HelpWindow::showPage(const QUrl& page)
{
    // The pages share one style sheet beside them.
    QFile style(QFileInfo(page.toLocalFile()).dir().filePath(QStringLiteral("help.css")));
    if (style.open(QIODevice::ReadOnly))
        browser_->document()->setDefaultStyleSheet(QString::fromUtf8(style.readAll()));
    browser_->setSource(page);
}

// The window has no close button: Escape closes it, as it does a dialog.
void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}
