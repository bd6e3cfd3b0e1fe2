#pragma once
#include <QString>

struct _xmlDoc;

// Compiled XML Schemas, parsed once per file and kept for the life of the process:
// every description is validated against the same schema at start-up.
namespace XmlSchemaCache {
// Validates the document; a null string when it is valid, else the first error's text.
// A schema that cannot be read or compiled is reported as such.
QString validate(const QString& schemaPath, _xmlDoc* doc);
}
