// Reads of strings and byte blocks.
#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "transport/serial/ComValues.h"

#include <algorithm>

using namespace deviceaccess;

namespace {

constexpr int32_t kDefaultMaxLen = 4096;

int32_t readString(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                   QString& text, Host* panel)
{
    // Only CAN learns a string's length from the device; the other buses ask for "MinLen" bytes.
    const std::optional<int32_t> minLen =
        node.hasChild("MinLen") ? std::optional(numberOf(node, "MinLen")) : std::nullopt;
    return transfer(
        entry, node,
        [&](const SdoAt& at) {
            return SDO_ReadString(state, settings, uint8_t(entry.NodeId), uint16_t(at.index), at.sub, text, panel);
        },
        [&](const SdoAt& at) {
            return minLen ? COM_ReadString(state, uint16_t(at.index), at.sub, text, *minLen) : rc::Failed;
        },
        [&](const Dpv1At& at) {
            if (!minLen)
                return rc::Failed;
            // The library counts the bytes it read; the text says all of that.
            const int32_t result =
                DPV1_ReadString(state, settings, uint8_t(entry.Address), at.index, at.slot, text, *minLen);
            return std::min(result, rc::Ok);
        },
        [&](const DnetAt& at) {
            return minLen ? DNET_ReadString(state, entry.MacId, at.classId, at.instance, at.attribute, text, *minLen)
                          : rc::Failed;
        });
}

int32_t readBytes(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                  QByteArray& bytes, int32_t& length, Host* panel)
{
    return transfer(
        entry, node,
        [&](const SdoAt& at) {
            return SDO_ReadSync(state, settings, uint8_t(entry.NodeId), uint16_t(at.index), at.sub, bytes, length,
                                panel);
        },
        [&](const SdoAt& at) {
            return SDO_ReadSync(state, settings, uint8_t(entry.NodeId), uint16_t(at.index), at.sub, bytes, length,
                                panel);
        },
        [&](const Dpv1At&) { return DPV1_ReadBytes(state, settings, uint8_t(entry.Address), node, bytes, length); },
        [&](const DnetAt& at) {
            return DNET_ReadBytes(state, entry.MacId, at.classId, at.instance, at.attribute, bytes, length);
        });
}

}  // namespace

int32_t Device_GetString(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                         const QString& path, QString& value, Host* panel)
{
    return guarded(
        *state.core.host, msg::Warning,
        [](const QString& what) { return QStringLiteral("Device_GetString(): '") + what + u'\''; },
        [&] {
            value.clear();
            return readAt(state, settings, entry, path, panel,
                          [&](XmlNode node) { return readString(state, settings, entry, node, value, panel); });
        });
}

int32_t Device_GetHexBinary(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                            const QString& path, QByteArray& bytes, int32_t& length, Host* panel)
{
    return guarded(
        *state.core.host, msg::Error,
        [](const QString& what) { return QStringLiteral("Error in Device_GetHexBinary(): ") + what; },
        [&] {
            length = 0;
            bytes.clear();
            return readAt(state, settings, entry, path, panel, [&](XmlNode node) {
                const int32_t maxLen = node.hasChild("MaxLen") ? numberOf(node, "MaxLen") : kDefaultMaxLen;
                length = maxLen;
                const int32_t result = readBytes(state, settings, entry, node, bytes, length, panel);
                length = result < 0 ? 0 : std::clamp(length, 0, std::max(maxLen, 0));
                // The caller's buffer has the parameter's full size, zeros after what came.
                bytes = bytes.left(length).leftJustified(std::max(maxLen, 0), '\0');
                return result;
            });
        });
}
