// The TEDS editor's way to the device: reading the block and activating it.
#include "device/TedsHelper.h"

#include "core/Log.h"
#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "device/TedsOperations.h"
#include "model/Configuration.h"
#include "transport/AppState.h"
#include "transport/ErrorText.h"
#include "transport/InterfaceManager.h"

#include <exception>

namespace {

constexpr int32_t kTedsTransferTimeoutMs = 30000;
constexpr int32_t kNormalTimeoutMs = 5000;
// An editor's success code after which the configuration is read again as well.
constexpr int32_t kActivatedByEditor = 20031;

}  // namespace

TedsTransferTimeout::TedsTransferTimeout(AppState& state, const InterfaceSettings& settings)
    : state_(state), settings_(settings)
{
    // PROFIBUS and DeviceNet refuse: their transfers carry a time-out of their own.
    static_cast<void>(Interface_SetTimeout(state_, settings_, kTedsTransferTimeoutMs));
}

TedsTransferTimeout::~TedsTransferTimeout()
{
    static_cast<void>(Interface_SetTimeout(state_, settings_, kNormalTimeoutMs));
}

DeviceEntry& TEDSHelper::device() const
{
    return state_.Devices.at(size_t(DeviceIndex));
}

bool TEDSHelper::deviceOnline() const
{
    return DeviceIndex >= 1 && DeviceIndex <= state_.DeviceCount && device().Online;
}

int32_t TEDSHelper::SetDeviceInfo(int32_t deviceIndex)
{
    DeviceIndex = deviceIndex;
    return rc::Ok;
}

int32_t TEDSHelper::ReadTEDS(int32_t, QByteArray& byteBuf)
{
    try {
        DeviceEntry& entry = device();
        const InterfaceSettings& settings = state_.CurrentInterface;
        int32_t length = 0;
        int32_t result = rc::Ok;
        {
            const TedsTransferTimeout timeout(state_, settings);
            result = Device_GetHexBinary(state_, settings, entry, tedspath::Block, byteBuf, length);
        }
        if (result < 0) {
            Log_Write(state_.core, QStringLiteral("ReadTEDS: Error/Warning ") +
                                       ErrorText(state_, settings, entry, result, tedspath::Block) +
                                       QStringLiteral(" (%1)").arg(result));
            return rc::Refused;
        }
        byteBuf.truncate(length);
        return length;
    } catch (const std::exception&) {
        Log_Write(state_.core, QStringLiteral("ReadTEDS: Exception occured!"));
        return rc::Failed;
    }
}

int32_t TEDSHelper::ActivateTEDS(int32_t, QString& errString, QString& warnString)
{
    try {
        DeviceEntry& entry = device();
        const InterfaceSettings& settings = state_.CurrentInterface;
        const XmlNode parameters = Conf_Parameters(state_.Configuration.get());
        const int32_t result =
            Device_ActivateTEDS(state_, settings, entry, parameters, errString, warnString, nullptr);
        if (result == rc::Ok || result == kActivatedByEditor)
            readBackIntoConfiguration(state_, settings, entry, parameters, QStringLiteral("."), nullptr);
        return result;
    } catch (const std::exception&) {
        Log_Write(state_.core, QStringLiteral("ActivateTEDS: Exception occured!"));
        return rc::Failed;
    }
}
