#pragma once
#include "core/xml/XmlDocument.h"

#include <QString>
#include <cstdint>

struct AppCore;
class Description;

// Converts a typed value as the grid converts an edited cell and stores it in the
// configuration with the validated store of the member's kind: 0 stored, negative
// after the store's message; -5 for a kind that takes no value from the user.
[[nodiscard]]
[[nodiscard]] int32_t storeEnteredValue(AppCore& app, const Description* description, XmlNode member, XmlNode parameters,
                          const QString& path, const QString& text);
