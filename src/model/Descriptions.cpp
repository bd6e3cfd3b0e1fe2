#include "model/Descriptions.h"

#include "core/AppCore.h"
#include "core/DeviceEntry.h"
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "core/xml/XmlFiles.h"

#include <QDir>

XmlNode Description::cached(const QString& path) const
{
    std::lock_guard lock(cacheMutex_);
    return cache_.value(path);
}

void Description::remember(const QString& path, XmlNode node) const
{
    std::lock_guard lock(cacheMutex_);
    cache_.insert(path, node);
}

QString Descr_Folder(const AppCore& app)
{
    return app.programFolder + QStringLiteral("/DeviceDescription");
}

QString Descr_SchemaPath(const AppCore& app)
{
    return Descr_Folder(app) + QStringLiteral("/DevDescr.xsd");
}

int32_t Desr_LoadAll(AppCore& app, Descriptions& descriptions)
{
    const QDir folder(Descr_Folder(app));
    if (!folder.exists()) {
        app.LastError = QStringLiteral("Dossier introuvable : ") + folder.path();
        ShowMessage(*app.host, QStringLiteral("Desr_LoadAll: ") + app.LastError, msg::Ok);
        return rc::Failed;
    }
    int32_t loaded = 0;
    for (const QFileInfo& file : folder.entryInfoList(QDir::Files, QDir::Name)) {
        if (!file.filePath().endsWith(QLatin1String(".xml")))
            continue;
        std::unique_ptr<Description> description;
        if (Descr_Load(app, file.filePath(), description) >= 0) {
            descriptions.push_back(std::move(description));
            ++loaded;
        }
    }
    return loaded;
}

int32_t Descr_Load(AppCore& app, const QString& path, std::unique_ptr<Description>& description)
{
    std::unique_ptr<XmlDocument> document;
    const int32_t result = Xml_Load(*app.host, path, Descr_SchemaPath(app), document);
    if (result < 0) {
        ShowMessage(*app.host,
                    QStringLiteral("Impossible de charger le fichier de description de l'appareil !"),
                    msg::Error);
        return result;
    }
    const XmlNode root = document->documentElement().name() == QLatin1String("DeviceDescription")
                             ? document->documentElement().child("ParameterGroup")
                             : XmlNode();
    if (!root) {
        ShowMessage(*app.host, QStringLiteral("Erreur dans le fichier de description de l'appareil !"),
                    msg::Error);
        return rc::Failed;
    }
    description = std::make_unique<Description>(std::move(document), root);
    return rc::Ok;
}

QString Descr_StripPredicates(const QString& path)
{
    QStringList segments = path.split('/');
    for (QString& segment : segments) {
        const qsizetype open = segment.indexOf('[');
        if (open >= 0)
            segment = segment.left(open).trimmed();  // "Name [Child = v]" is written with a blank
    }
    return segments.join('/');
}

namespace {

// The first member one level below any child of the group whose "Name" is the
// segment, in document order: the XPath */*[Name = "segment"].
XmlNode findMember(XmlNode group, const QString& segment)
{
    const QByteArray wanted = segment.toUtf8();
    for (XmlNode holder = group.firstElementChild(); holder; holder = holder.nextElementSibling()) {
        for (XmlNode member = holder.firstElementChild(); member;
             member = member.nextElementSibling()) {
            for (XmlNode name = member.firstElementChild(); name; name = name.nextElementSibling()) {
                if (name.nameIs("Name") && name.textEquals(wanted))
                    return member;
            }
        }
    }
    return {};
}

QString normalisedPath(const QString& path)
{
    QString cleaned = path;
    cleaned.remove(QStringLiteral("./"));
    return Descr_StripPredicates(cleaned);
}

}  // namespace

int32_t Descr_FindNode(const QString& path, XmlNode rootGroup, XmlNode& node)
{
    node = {};
    if (!rootGroup)
        return rc::UnknownInDescription;
    if (path == QLatin1String(".")) {
        node = rootGroup;
        return rc::Ok;
    }
    XmlNode current = rootGroup;
    for (const QString& segment : normalisedPath(path).split('/')) {
        current = findMember(current, segment);
        if (!current)
            return rc::UnknownInDescription;
    }
    node = current;
    return rc::Ok;
}

int32_t Descr_FindNode(const QString& path, const Description* description, XmlNode& node)
{
    node = {};
    if (!description)
        return rc::UnknownInDescription;
    if (XmlNode known = description->cached(path)) {
        node = known;
        return rc::Ok;
    }
    const int32_t result = Descr_FindNode(path, description->root(), node);
    if (result == rc::Ok)
        description->remember(path, node);
    return result;
}

QString Descr_GetText(XmlNode node, const QString& language)
{
    const XmlNode description = node.child("Description");
    if (!description)
        return {};
    const QString text = description.childText(language.toUtf8().constData());
    return text.isEmpty() ? description.childText("en") : text;
}

QString Descr_GetHelpText(XmlNode node, const QString& language)
{
    const XmlNode help = node.child("Help");
    return help ? Descr_GetText(help, language) : QString();
}

int32_t Descr_GetHelpTopic(XmlNode node)
{
    const XmlNode topic = node.child("Help").child("TopicID");
    bool ok = false;
    const int32_t value = topic.text().trimmed().toInt(&ok);
    return topic && ok ? value : -1;
}

const Description* Descr_OfDevice(const Descriptions& descriptions, const DeviceEntry& entry)
{
    const auto index = size_t(entry.DescriptionIndex);
    return entry.DescriptionIndex >= 0 && index < descriptions.size() ? descriptions[index].get()
                                                                       : nullptr;
}

std::vector<int32_t> Descr_EnumerationCodes(const Description& description, const QString& path)
{
    std::vector<int32_t> codes;
    XmlNode node;
    if (Descr_FindNode(path, &description, node) != rc::Ok)
        return codes;
    for (const XmlNode& item : node.child("Enumeration").elementChildren()) {
        bool ok = false;
        const qlonglong code = item.childText("Code").trimmed().toLongLong(&ok);
        if (ok)
            codes.push_back(static_cast<int32_t>(static_cast<uint32_t>(code)));
    }
    return codes;
}

bool Descr_HasDigitalIO(const Descriptions& descriptions, const DeviceEntry& entry)
{
    XmlNode node;
    return Descr_FindNode(QStringLiteral("DigitalIO/InputOutputLevel"),
                          Descr_OfDevice(descriptions, entry), node) == rc::Ok;
}
