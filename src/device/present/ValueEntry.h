#pragma once
#include "core/xml/XmlDocument.h"

#include <QDate>
#include <QString>
#include <optional>
#include <cstdint>

struct AppCore;
class Description;

// Converts a typed value as the grid converts an edited cell and stores it in the
// configuration with the validated store of the member's kind: 0 stored, negative
// after the store's message; -5 for a kind that takes no value from the user.
[[nodiscard]] int32_t storeEnteredValue(AppCore& app, const Description* description, XmlNode member, XmlNode parameters,
                          const QString& path, const QString& text);
// The entered date (ISO, French or German form), or none after "Date non valide !".
std::optional<QDate> enteredDateOrMessage(AppCore& app, const QString& text);
