#include "ui/Help.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "ui/HelpWindow.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QUrl>

namespace {

constexpr int32_t ContentsTopic = 2;

QUrl topicPage(const QString& helpFolder, int32_t topic)
{
    return QUrl::fromLocalFile(helpFolder + '/' + QString::number(topic) + QStringLiteral(".html"));
}

// The window the help window belongs to: an open modal dialog, so that help stays usable
// while it runs, else the outermost window of the owner.
QWidget* helpParent(QWidget* owner)
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    while (owner && owner->parentWidget())
        owner = owner->parentWidget();
    return owner;
}

// The one help window, created on first use and closed with the window it belongs to.
HelpWindow& helpWindow(const QString& helpFolder, QWidget* owner)
{
    static QPointer<HelpWindow> window;
    QWidget* parent = helpParent(owner);
    if (!window) {
        window = new HelpWindow(topicPage(helpFolder, ContentsTopic), parent);
        if (parent) {
            // Centred on a small main window it would hang over the screen's edge.
            window->move(parent->geometry().center() - window->rect().center());
            KeepOnScreen(*window);
        }
    } else if (window->parentWidget() != parent) {
        window->setParent(parent, window->windowFlags());
    }
    return *window;
}

}  // namespace

int32_t ShowHelp(AppCore& core, QWidget* owner, int32_t topic)
{
    if (core.HelpFolder.isEmpty()) {
        ShowMessage(*core.host, QStringLiteral("Aucune aide disponible !"), msg::Information);
        return rc::Ok;
    }
    const QUrl page = topicPage(core.HelpFolder, topic);
    if (topic < 0 || !QFileInfo(page.toLocalFile()).isFile()) {
        ShowMessage(*core.host,
                    QStringLiteral("Erreur lors de l'ouverture du fichier d'aide '") + core.HelpFolder
                        + QStringLiteral("' ou du sujet souhaité !"),
                    msg::Warning);
        return rc::Failed;
    }
    HelpWindow& window = helpWindow(core.HelpFolder, owner);
    window.showPage(page);
    window.show();
    window.raise();
    window.activateWindow();
    return rc::Ok;
}
