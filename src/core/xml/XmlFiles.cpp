#include "core/xml/XmlFiles.h"

#include "core/Host.h"
#include "core/ResultCodes.h"

#include <QStringList>

int32_t Xml_Load(Host& host, const QString& path, const QString& schemaPath,
                 std::unique_ptr<XmlDocument>& document)
{
    auto loaded = std::make_unique<XmlDocument>();
    QString reason;
    if (!loaded->load(path, schemaPath, &reason)) {
        if (!reason.isEmpty()) {
            ShowMessage(host,
                        QStringLiteral("Erreur lors du chargement du document  XML : ") + path +
                            QStringLiteral("\r\nMessage : ") + reason,
                        msg::Ok);
        }
        document = std::make_unique<XmlDocument>();
        document->setSchemaPath(schemaPath);
        return rc::Failed;
    }
    document = std::move(loaded);
    return rc::Ok;
}

int32_t Xml_Create(const QString& schemaPath, std::unique_ptr<XmlDocument>& document)
{
    document = std::make_unique<XmlDocument>();
    document->setSchemaPath(schemaPath);
    return rc::Ok;
}

int32_t Xml_Save(const XmlDocument* document, const QString& path)
{
    if (!document)
        return rc::MissingDocument;
    return document->save(path) ? rc::Ok : rc::Failed;
}

int32_t Conf_GetNode(const QString& path, XmlNode root, XmlNode& element)
{
    element = {};
    if (!root)
        return rc::MissingDocument;
    element = root.selectSingle(path);
    if (element)
        return rc::Ok;
    const int32_t created = Conf_CreatePath(path, root);
    if (created < 0)
        return created;
    element = root.selectSingle(path);
    return element ? rc::Created : rc::UnknownInConfiguration;
}

namespace {

XmlNode createSegment(XmlNode parent, const QString& segment)
{
    const qsizetype open = segment.indexOf('[');
    if (open < 0)
        return parent.appendElement(segment);
    XmlNode created = parent.appendElement(segment.left(open).trimmed());
    const qsizetype close = segment.indexOf(']', open);
    const QString predicate = segment.mid(open + 1, close < 0 ? -1 : close - open - 1);
    if (created && !predicate.isEmpty()) {
        const QStringList parts = predicate.split('=');
        XmlNode child = created.appendElement(parts.value(0).trimmed());
        child.setText(parts.value(1).trimmed());
    }
    return created;
}

}  // namespace

int32_t Conf_CreatePath(const QString& path, XmlNode root)
{
    if (!root)
        return rc::MissingDocument;
    XmlNode current = root;
    for (const QString& segment : path.split('/')) {
        if (segment.isEmpty() || segment == QLatin1String("."))
            continue;
        XmlNode next = current.selectSingle(segment);
        if (!next)
            next = createSegment(current, segment);
        if (!next)
            return rc::UnknownInConfiguration;
        current = next;
    }
    return rc::Ok;
}
