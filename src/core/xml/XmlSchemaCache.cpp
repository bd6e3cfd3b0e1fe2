#include "core/xml/XmlSchemaCache.h"

#include "core/xml/XmlDocument.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QDateTime>

#include <libxml/xmlschemas.h>

namespace {

struct CompiledSchema {
    QDateTime modified;
    xmlSchemaPtr schema = nullptr;
};

void collectFirst(void* target, xmlErrorPtr error)
{
    auto* text = static_cast<QString*>(target);
    if (text->isNull())
        *text = xmlErrorText(error);
}

xmlSchemaPtr compile(const QString& path, QString* error)
{
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.toUtf8().constData());
    if (!parser)
        return nullptr;
    xmlSchemaSetParserStructuredErrors(parser, &collectFirst, error);
    xmlSchemaPtr schema = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    return schema;
}

}  // namespace

QString XmlSchemaCache::validate(const QString& schemaPath, _xmlDoc* doc)
{
    static QMutex mutex;
    static QHash<QString, CompiledSchema> schemas;

    QMutexLocker lock(&mutex);
    const QDateTime modified = QFileInfo(schemaPath).lastModified();
    CompiledSchema& entry = schemas[schemaPath];
    if (!entry.schema || entry.modified != modified) {
        if (entry.schema)
            xmlSchemaFree(entry.schema);
        QString error;
        entry.schema = compile(schemaPath, &error);
        entry.modified = modified;
        if (!entry.schema)
            return QStringLiteral("Schéma illisible : %1 %2").arg(schemaPath, error).trimmed();
    }
    xmlSchemaValidCtxtPtr valid = xmlSchemaNewValidCtxt(entry.schema);
    QString error;
    xmlSchemaSetValidStructuredErrors(valid, &collectFirst, &error);
    const int rc = xmlSchemaValidateDoc(valid, doc);
    xmlSchemaFreeValidCtxt(valid);
    if (rc != 0 && error.isNull())
        error = QStringLiteral("document non valide");
    return rc == 0 ? QString() : error;
}
