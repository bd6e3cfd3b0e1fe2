// The TEDS editor's way to the device: writing a block and marking the TEDS present.
#include "device/TedsHelper.h"

#include "core/Log.h"
#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "transport/AppState.h"
#include "transport/ErrorText.h"

#include <exception>

namespace {

// The device takes a written block as its sensor's TEDS once told so. The serial
// protocol has no such step.
int32_t markTedsPresent(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry)
{
    XmlNode hasTeds;
    if (const int32_t found = deviceaccess::findParameter(state, entry, tedspath::HasTeds, hasTeds); found < 0)
        return found;
    if (entry.InterfaceKind == RS232)
        return rc::UnknownInterface;
    return Device_SetByte(state, settings, entry, hasTeds, 1);
}

void logStepFailure(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                    const QString& step, int32_t result)
{
    Log_Write(state.core, step + QStringLiteral(": Error/Warning ") +
                              ErrorText(state, settings, entry, result, tedspath::Activate) +
                              QStringLiteral(" (%1)").arg(result));
}

}  // namespace

int32_t TEDSHelper::WriteTEDS(int32_t, const QByteArray& byteBuf, int32_t byteBufSize)
{
    try {
        DeviceEntry& entry = device();
        const InterfaceSettings& settings = state_.CurrentInterface;
        XmlNode block;
        if (const int32_t found = deviceaccess::findParameter(state_, entry, tedspath::Block, block); found < 0)
            return found;
        int32_t result = rc::Ok;
        {
            const TedsTransferTimeout timeout(state_, settings);
            result = deviceaccess::writeBytes(state_, settings, entry, block, byteBuf.left(byteBufSize));
        }
        if (result < 0) {
            logStepFailure(state_, settings, entry, QStringLiteral("WriteTEDS 1/2"), result);
            return rc::Refused;
        }
        Log_Write(state_.core, QStringLiteral("WriteTEDS 1/2: Success!"));
        result = markTedsPresent(state_, settings, entry);
        if (result < 0)
            logStepFailure(state_, settings, entry, QStringLiteral("WriteTEDS 2/2"), result);
        return result;
    } catch (const std::exception&) {
        Log_Write(state_.core, QStringLiteral("WriteTEDS: Exception occured!"));
        return rc::Failed;
    }
}
