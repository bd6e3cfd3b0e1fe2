#pragma once
#include "core/xml/XmlDocument.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

struct AppCore;
struct DeviceEntry;

// One loaded device description: its document and root "ParameterGroup".
// Descriptions never change once loaded, so resolved paths are remembered.
class Description {
public:
    Description() = default;
    Description(std::unique_ptr<XmlDocument> document, XmlNode root)
        : document_(std::move(document)), root_(root) {}

    XmlNode root() const { return root_; }
    const XmlDocument* document() const { return document_.get(); }

    // Resolved member for a normalised path, or null when not yet resolved.
    XmlNode cached(const QString& path) const;
    void remember(const QString& path, XmlNode node) const;

private:
    std::unique_ptr<XmlDocument> document_;
    XmlNode root_;
    mutable std::mutex cacheMutex_;
    mutable QHash<QString, XmlNode> cache_;
};

using Descriptions = std::vector<std::unique_ptr<Description>>;

QString Descr_Folder(const AppCore& app);
QString Descr_SchemaPath(const AppCore& app);

// Loads every "*.xml" directly inside the description folder; returns the count
// loaded, or -1 when the folder cannot be listed.
[[nodiscard]] int32_t Desr_LoadAll(AppCore& app, Descriptions& descriptions);
[[nodiscard]] int32_t Descr_Load(AppCore& app, const QString& path, std::unique_ptr<Description>& description);

// Resolves a parameter path segment by segment by the members' "Name": 0 or -8.
[[nodiscard]] int32_t Descr_FindNode(const QString& path, const Description* description, XmlNode& node);
[[nodiscard]] int32_t Descr_FindNode(const QString& path, XmlNode rootGroup, XmlNode& node);
QString Descr_StripPredicates(const QString& path);

QString Descr_GetText(XmlNode node, const QString& language);
QString Descr_GetHelpText(XmlNode node, const QString& language);
int32_t Descr_GetHelpTopic(XmlNode node);
// The "Code" values of the enumeration at the path, as the 32-bit values a device reports.
std::vector<int32_t> Descr_EnumerationCodes(const Description& description, const QString& path);
bool Descr_HasDigitalIO(const Descriptions& descriptions, const DeviceEntry& entry);

// The description of a device, or null when its index is out of range.
const Description* Descr_OfDevice(const Descriptions& descriptions, const DeviceEntry& entry);
