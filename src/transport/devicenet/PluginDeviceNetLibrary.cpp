#include "transport/devicenet/PluginDeviceNetLibrary.h"

#include "transport/FieldbusPlugin.h"

namespace {

bool complete(const quelbrin_devicenet_api& api)
{
    return api.init_hw && api.abort_hw && api.init_device && api.abort_device && api.parameter_read_int &&
           api.parameter_write_int && api.parameter_read_arr && api.parameter_write_arr;
}

}  // namespace

std::unique_ptr<PluginDeviceNetLibrary> PluginDeviceNetLibrary::load(const QString& path, QString* reason)
{
    auto library = std::make_unique<QLibrary>(path);
    const auto* api = Plugin_LoadApi<quelbrin_devicenet_api>(*library, QUELBRIN_DEVICENET_PLUGIN_ENTRY, complete,
                                                             reason);
    if (!api)
        return nullptr;
    return std::unique_ptr<PluginDeviceNetLibrary>(new PluginDeviceNetLibrary(std::move(library), *api));
}

int32_t PluginDeviceNetLibrary::initHw(int32_t baudCode)
{
    return api_.init_hw(baudCode);
}

int32_t PluginDeviceNetLibrary::abortHw()
{
    return api_.abort_hw();
}

int32_t PluginDeviceNetLibrary::initDevice(uint8_t macId, int32_t flags)
{
    return api_.init_device(macId, flags);
}

int32_t PluginDeviceNetLibrary::abortDevice(uint8_t macId)
{
    return api_.abort_device(macId);
}

int32_t PluginDeviceNetLibrary::parameterReadInt(uint8_t macId, uint8_t classId, uint8_t instance,
                                                 uint8_t attribute, int32_t& value, int32_t timeoutMs)
{
    return api_.parameter_read_int(macId, classId, instance, attribute, &value, timeoutMs);
}

int32_t PluginDeviceNetLibrary::parameterWriteInt(uint8_t macId, uint8_t classId, uint8_t instance,
                                                  uint8_t attribute, int32_t size, int32_t value, int32_t timeoutMs)
{
    return api_.parameter_write_int(macId, classId, instance, attribute, size, value, timeoutMs);
}

int32_t PluginDeviceNetLibrary::parameterReadArr(uint8_t macId, uint8_t classId, uint8_t instance,
                                                 uint8_t attribute, uint8_t* buffer, int32_t& length,
                                                 int32_t timeoutMs)
{
    return api_.parameter_read_arr(macId, classId, instance, attribute, buffer, &length, timeoutMs);
}

int32_t PluginDeviceNetLibrary::parameterWriteArr(uint8_t macId, uint8_t classId, uint8_t instance,
                                                  uint8_t attribute, const uint8_t* buffer, int32_t length,
                                                  int32_t timeoutMs)
{
    return api_.parameter_write_arr(macId, classId, instance, attribute, buffer, length, timeoutMs);
}
