#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "transport/AppState.h"
#include "transport/profibus/ProfibusResultCodes.h"

namespace deviceaccess {

namespace {

// The serial library and the PROFIBUS library each have their word for "no answer in time".
bool isTimeout(int32_t result)
{
    return result == rc::Timeout || result == rc::ProfibusTimeout;
}

}  // namespace

bool isBusKind(int32_t kind)
{
    return kind == CANBus || kind == RS232 || kind == PROFIBUS || kind == DeviceNet;
}

int32_t findParameter(const AppState& state, const DeviceEntry& entry, const QString& path, XmlNode& node)
{
    return Descr_FindNode(path, Descr_OfDevice(state.descriptions, entry), node);
}

int32_t readAt(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, const QString& path,
               Host* panel, const std::function<int32_t(XmlNode)>& read)
{
    XmlNode node;
    if (const int32_t found = findParameter(state, entry, path, node); found < 0)
        return found;
    const int32_t result = read(node);
    if (isTimeout(result))
        static_cast<void>(Device_Close(state, settings, entry, panel));  // a failure has shown its message
    else if (result == rc::NoDevice)
        entry.Online = false;
    return result;
}

}  // namespace deviceaccess
