#include "sim/amplifier/SimRack.h"

#include "core/ResultCodes.h"
#include "core/xml/XmlDocument.h"
#include "sim/amplifier/DescriptionReader.h"
#include "sim/amplifier/WellKnownPaths.h"

#include <QDir>

namespace {

void completeIdentity(const XmlDocument& document, SimIdentity& identity)
{
    const XmlNode rootGroup = document.documentElement().child("ParameterGroup");
    if (identity.vendorId == 0)
        identity.vendorId = static_cast<uint32_t>(
            firstEnumerationCode(rootGroup, QLatin1String(simpath::VendorId)).value_or(0));
    if (identity.productId == 0)
        identity.productId = static_cast<uint32_t>(
            firstEnumerationCode(rootGroup, QLatin1String(simpath::ProductId)).value_or(0));
}

int32_t fail(int32_t result, const QString& why, QString* reason)
{
    if (reason)
        *reason = why;
    return result;
}

}  // namespace

bool SimRack::add(std::unique_ptr<SimAmplifier> amplifier)
{
    if (!amplifier || amplifiers_.count(amplifier->nodeId()))
        return false;
    const uint8_t nodeId = amplifier->nodeId();
    amplifiers_.emplace(nodeId, std::move(amplifier));
    return true;
}

int32_t SimRack::build(const std::vector<SimRackEntry>& entries, QString* reason)
{
    for (const SimRackEntry& entry : entries) {
        XmlDocument document;
        QString why;
        if (!document.load(entry.descriptionPath, QString(), &why))
            return fail(rc::MissingDocument, entry.descriptionPath + QStringLiteral(": ") + why, reason);
        SimIdentity identity = entry.identity;
        completeIdentity(document, identity);
        auto amplifier = SimAmplifier::create(document, identity, &why);
        if (!amplifier)
            return fail(rc::MissingDocument, entry.descriptionPath + QStringLiteral(": ") + why, reason);
        if (!add(std::move(amplifier)))
            return fail(rc::Failed, QStringLiteral("node ID %1 given twice").arg(identity.nodeId), reason);
    }
    return rc::Ok;
}

SimAmplifier* SimRack::node(uint8_t nodeId) const
{
    const auto it = amplifiers_.find(nodeId);
    return it == amplifiers_.end() ? nullptr : it->second.get();
}

std::vector<uint8_t> SimRack::nodeIds() const
{
    std::vector<uint8_t> ids;
    for (const auto& [id, amplifier] : amplifiers_)
        ids.push_back(id);
    return ids;
}

void SimRack::setTimeSource(const std::function<int64_t()>& source)
{
    for (auto& [id, amplifier] : amplifiers_)
        amplifier->setTimeSource(source);
}

void SimRack::advance(int64_t ms)
{
    for (auto& [id, amplifier] : amplifiers_)
        amplifier->advance(ms);
}

std::vector<SimRackEntry> demoRackEntries(const QString& descriptionFolder)
{
    const QDir folder(descriptionFolder);
    auto entry = [&](const char* file, uint8_t nodeId) {
        SimIdentity identity;
        identity.nodeId = nodeId;
        identity.serialNumber = QString::number(100000 + nodeId);
        return SimRackEntry{folder.filePath(QLatin1String(file)), identity};
    };
    return {entry(demorack::StrainGaugeFile, 3), entry(demorack::StandardSignalFile, 17),
            entry(demorack::StrainGaugeFile, 42)};
}

int32_t buildDemoRack(SimRack& rack, const QString& descriptionFolder, QString* reason)
{
    return rack.build(demoRackEntries(descriptionFolder), reason);
}
