#pragma once
#include "core/xml/XmlDocument.h"

#include <QString>
#include <cstdint>
#include <vector>

struct DeviceContext;

// One parameter as the grid shows it in a row.
struct ParameterRow {
    QString path;
    QString value;        // as shown, unit included; empty for a write-only parameter
    QString stored;       // as read, in the configuration's text form
    int32_t status = 0;   // the failure of the last read, 0 when it succeeded
    QString statusText;   // the words for that failure
};

// Whether the member holds a value (it is no group, action or sequence).
bool hasValue(XmlNode member);
// Whether the grid shows the member on an interface kind: not hidden, and of no
// other interface kind.
bool shownOn(XmlNode member, int32_t interfaceKind);
// The value rows of the members of a group, nested groups included, that the grid
// shows (hidden members and those of another interface kind left out), in
// description order, each with its value read.
void groupRows(DeviceContext& device, XmlNode group, const QString& path, std::vector<ParameterRow>& rows);
// The row of one parameter as the grid's row refresh reads it: stored values,
// toggles and dates from the configuration, the others from the device;
// write-only members are not read.
ParameterRow parameterRow(DeviceContext& device, XmlNode member, const QString& path);
