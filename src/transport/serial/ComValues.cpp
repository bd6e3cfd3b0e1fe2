#include "transport/serial/ComValues.h"

#include "core/Log.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "transport/can/SdoSync.h"

int32_t COM_ReadString(AppState& state, uint16_t index, uint8_t sub, QString& text, int32_t maxLength)
{
    QByteArray bytes;
    const int32_t result = COM_Read(state, index, sub, bytes, maxLength);
    if (result < 0) {
        text.clear();
        return result;
    }
    text = textOfBytes(bytes);
    return rc::Ok;
}

int32_t COM_WriteString(AppState& state, uint16_t index, uint8_t sub, const QString& text)
{
    const int32_t result = COM_Write(state, index, sub, text.toLatin1());
    if (result < 0)
        Log_Write(state.core,
                  QStringLiteral("Error while synchronuous write of string SDO (index %1, sub index %2)")
                      .arg(index)
                      .arg(sub));
    return result;
}
