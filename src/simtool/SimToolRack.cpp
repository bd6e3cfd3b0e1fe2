#include "simtool/SimToolRack.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr uint32_t SerialBase = 100000;
}  // namespace

std::vector<SimRackEntry> simToolRackEntries(const SimToolOptions& options)
{
    if (options.nodes.empty())
        return demoRackEntries(options.descriptionFolder);
    const QString path = QDir(options.descriptionFolder).filePath(options.family + QStringLiteral(".xml"));
    std::vector<SimRackEntry> entries;
    for (uint8_t node : options.nodes) {
        SimIdentity identity;
        identity.nodeId = node;
        identity.serialNumber = QString::number(SerialBase + node);
        entries.push_back({path, identity});
    }
    return entries;
}

QString servedNodeLine(const SimRackEntry& entry)
{
    return QStringLiteral("node %1: %2, serial %3")
        .arg(entry.identity.nodeId)
        .arg(QFileInfo(entry.descriptionPath).completeBaseName(), entry.identity.serialNumber);
}
