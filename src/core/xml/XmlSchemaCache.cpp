#include "core/xml/XmlSchemaCache.h"

#include "core/xml/XmlDocument.h"

#include <QFileInfo>
#include <QMutex>
#include <QDateTime>

#include <libxml/xmlschemas.h>
#include <memory>
#include <unordered_map>

namespace {

struct SchemaFree {
    void operator()(xmlSchemaPtr schema) const { xmlSchemaFree(schema); }
};

// Freed with the cache at exit, so that only real leaks are reported as such.
struct CompiledSchema {
    QDateTime modified;
    std::unique_ptr<xmlSchema, SchemaFree> schema;
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
    static std::unordered_map<QString, CompiledSchema> schemas;

    QMutexLocker lock(&mutex);
    const QDateTime modified = QFileInfo(schemaPath).lastModified();
    CompiledSchema& entry = schemas[schemaPath];
    if (!entry.schema || entry.modified != modified) {
        QString error;
        entry.schema.reset(compile(schemaPath, &error));
        entry.modified = modified;
        if (!entry.schema)
            return QStringLiteral("Schéma illisible : %1 %2").arg(schemaPath, error).trimmed();
    }
    xmlSchemaValidCtxtPtr valid = xmlSchemaNewValidCtxt(entry.schema.get());
    QString error;
    xmlSchemaSetValidStructuredErrors(valid, &collectFirst, &error);
    const int rc = xmlSchemaValidateDoc(valid, doc);
    xmlSchemaFreeValidCtxt(valid);
    if (rc != 0 && error.isNull())
        error = QStringLiteral("document non valide");
    return rc == 0 ? QString() : error;
}
