#pragma once
#include "core/xml/XmlDocument.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <memory>

class Host;

// A new configuration document: "DeviceConfiguration" with an empty "Parameters".
[[nodiscard]] int32_t Conf_New(const QString& schemaPath, std::unique_ptr<XmlDocument>& document);
// Loads a saved configuration into the document; on any failure the document is
// left as it was. -1 not loadable or not valid, -2 not a configuration document.
[[nodiscard]]
int32_t Conf_LoadFile(Host& host, const QString& path, const QString& schemaPath,
                      std::unique_ptr<XmlDocument>& document);
// The "Parameters" element of a configuration document, or null.
XmlNode Conf_Parameters(const XmlDocument* document);

// Typed reads of stored values. The element is created when missing; the result is
// the "Status" attribute (the failure of the last device read), else 0; -9 when the
// element cannot be had.
[[nodiscard]] int32_t Conf_GetToggle(XmlNode parameters, const QString& path, bool& value);
[[nodiscard]] int32_t Conf_GetByte(XmlNode parameters, const QString& path, uint8_t& value);
[[nodiscard]] int32_t Conf_GetShort(XmlNode parameters, const QString& path, int16_t& value);
[[nodiscard]] int32_t Conf_GetLong(XmlNode parameters, const QString& path, int32_t& value);
[[nodiscard]] int32_t Conf_GetFloat(XmlNode parameters, const QString& path, float& value);
[[nodiscard]] int32_t Conf_GetDate(XmlNode parameters, const QString& path, QDate& value);
[[nodiscard]] int32_t Conf_GetString(XmlNode parameters, const QString& path, QString& value);

// Stores a value read from the device and clears "Status"; or marks the failure.
void Conf_StoreRead(XmlNode element, const QString& text);
void Conf_MarkFailed(XmlNode element, int32_t result);
