#pragma once
#include "transport/devicenet/DeviceNetLibrary.h"

#include <quelbrin/fieldbus_plugin.h>

#include <QLibrary>
#include <QString>
#include <memory>

// The DeviceNet library of a plug-in (quelbrin_devicenet_plugin()): every call goes
// to the plug-in's function of the same name.
class PluginDeviceNetLibrary : public DeviceNetLibrary {
public:
    // Null, and *reason, when the file is no usable DeviceNet plug-in.
    static std::unique_ptr<PluginDeviceNetLibrary> load(const QString& path, QString* reason);

    [[nodiscard]] int32_t initHw(int32_t baudCode) override;
    [[nodiscard]] int32_t abortHw() override;
    [[nodiscard]] int32_t initDevice(uint8_t macId, int32_t flags) override;
    [[nodiscard]] int32_t abortDevice(uint8_t macId) override;
    [[nodiscard]]
    int32_t parameterReadInt(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, int32_t& value,
                             int32_t timeoutMs) override;
    [[nodiscard]]
    int32_t parameterWriteInt(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, int32_t size,
                              int32_t value, int32_t timeoutMs) override;
    [[nodiscard]]
    int32_t parameterReadArr(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, uint8_t* buffer,
                             int32_t& length, int32_t timeoutMs) override;
    [[nodiscard]]
    int32_t parameterWriteArr(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                              const uint8_t* buffer, int32_t length, int32_t timeoutMs) override;

private:
    PluginDeviceNetLibrary(std::unique_ptr<QLibrary> library, const quelbrin_devicenet_api& api)
        : library_(std::move(library)), api_(api) {}

    std::unique_ptr<QLibrary> library_;
    const quelbrin_devicenet_api& api_;
};
