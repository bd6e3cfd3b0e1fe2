#pragma once
#include "core/xml/XmlDocument.h"

#include <QDate>
#include <QString>
#include <cstdint>

struct AppCore;
class Description;

// Validated stores of user-entered values into the configuration's "Parameters".
// A refusal has shown its message and stores nothing.
[[nodiscard]]
int32_t Conf_SetToggle(AppCore& app, const Description* d, XmlNode parameters, const QString& path, bool value);
[[nodiscard]]
int32_t Conf_SetByte(AppCore& app, const Description* d, XmlNode parameters, const QString& path, uint8_t value);
[[nodiscard]]
int32_t Conf_SetLong(AppCore& app, const Description* d, XmlNode parameters, const QString& path, int32_t value);
[[nodiscard]]
int32_t Conf_SetLongFloat(AppCore& app, const Description* d, XmlNode parameters, const QString& path, float value);
[[nodiscard]]
int32_t Conf_SetFloat(AppCore& app, const Description* d, XmlNode parameters, const QString& path, float value);
[[nodiscard]]
int32_t Conf_SetDate(AppCore& app, const Description* d, XmlNode parameters, const QString& path, const QDate& value);
[[nodiscard]]
int32_t Conf_SetString(AppCore& app, const Description* d, XmlNode parameters, const QString& path, const QString& value);
[[nodiscard]]
int32_t Conf_SetEnumString(AppCore& app, const Description* d, XmlNode parameters, const QString& path, const QString& text);
[[nodiscard]]
int32_t Conf_SetEnumFloat(AppCore& app, const Description* d, XmlNode parameters, const QString& path, float value);
