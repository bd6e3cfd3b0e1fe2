#pragma once
#include "core/xml/XmlDocument.h"

#include <QString>
#include <cstdint>
#include <memory>

class Host;

// Loads a file, validating it against the schema when schemaPath is not empty.
// A parse or validation error is shown to the user with the parser's reason; -1.
[[nodiscard]]
int32_t Xml_Load(Host& host, const QString& path, const QString& schemaPath,
                 std::unique_ptr<XmlDocument>& document);
// A new document holding only the XML declaration, bound to the schema.
[[nodiscard]] int32_t Xml_Create(const QString& schemaPath, std::unique_ptr<XmlDocument>& document);
// 0, -6 without a document, -1 when the file cannot be written.
[[nodiscard]] int32_t Xml_Save(const XmlDocument* document, const QString& path);

// The element at a "/"-separated path below root (XPath location path of element
// names, "." is root): 0 found, 1 created, -6 without root, -9 not creatable.
[[nodiscard]] int32_t Conf_GetNode(const QString& path, XmlNode root, XmlNode& element);
// Creates the missing elements of the path below root; a segment "Name[Child = v]"
// creates Name with a child Child holding v.
[[nodiscard]] int32_t Conf_CreatePath(const QString& path, XmlNode root);
