#include "simtool/TerminalLink.h"

#include <QFile>
#include <QFileInfo>

std::unique_ptr<TerminalLink> TerminalLink::make(const QString& link, const QString& terminal, QString* message)
{
    const QFileInfo existing(link);
    if (existing.exists() && !existing.isSymLink()) {
        *message = QStringLiteral("--link %1: a file that is no symbolic link is there already").arg(link);
        return nullptr;
    }
    if ((existing.isSymLink() && !QFile::remove(link)) || !QFile::link(terminal, link)) {
        *message = QStringLiteral("--link %1: the link cannot be made").arg(link);
        return nullptr;
    }
    return std::unique_ptr<TerminalLink>(new TerminalLink(link, terminal));
}

TerminalLink::~TerminalLink()
{
    if (QFileInfo(link_).symLinkTarget() == QFileInfo(terminal_).absoluteFilePath())
        QFile::remove(link_);
}
