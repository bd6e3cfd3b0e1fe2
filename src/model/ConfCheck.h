#pragma once
#include "core/xml/XmlDocument.h"
#include "model/Descriptions.h"

#include <QString>
#include <cstdint>

struct AppCore;
struct DeviceEntry;

// Checks the stored value of the parameter, or of every parameter of the group, at
// the path against the device's description: 0, 2 skipped, or the last failure.
[[nodiscard]]
int32_t Conf_CheckParameter(AppCore& app, const Descriptions& descriptions,
                            const DeviceEntry& entry, XmlNode parameters, const QString& path);

// False when the configuration names a vendor or product that the description does not
// serve: it was saved from another family of devices. A configuration without them suits.
bool Conf_SuitsDescription(XmlNode parameters, const Description* description);
