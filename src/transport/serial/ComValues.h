#pragma once
#include "core/ResultCodes.h"
#include "transport/serial/ComTransport.h"

#include <QByteArray>
#include <QString>
#include <concepts>
#include <cstdint>
#include <cstring>

// Numbers of 1, 2 or 4 bytes, integers or IEEE single floats: they cross the line
// least significant byte first, as this machine keeps them.
template <typename T>
concept ComValue = (std::integral<T> || std::floating_point<T>) &&
                   (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4);

// One exchange of sizeof(T) bytes; 0 with the value, else COM_Read's result and
// the value unchanged.
template <ComValue T>
[[nodiscard]] int32_t COM_ReadValue(AppState& state, uint16_t index, uint8_t sub, T& value)
{
    QByteArray bytes;
    const int32_t result = COM_Read(state, index, sub, bytes, int32_t(sizeof(T)));
    if (result != int32_t(sizeof(T)))
        return result;
    std::memcpy(&value, bytes.constData(), sizeof(T));
    return rc::Ok;
}

template <ComValue T>
[[nodiscard]] int32_t COM_WriteValue(AppState& state, uint16_t index, uint8_t sub, T value)
{
    QByteArray bytes(sizeof(T), '\0');
    std::memcpy(bytes.data(), &value, sizeof(T));
    return COM_Write(state, index, sub, bytes);
}

// Reads maxLength bytes; the text is the 8-bit characters up to the first NUL,
// blanks trimmed. 0, or COM_Read's failure with an empty text.
[[nodiscard]] int32_t COM_ReadString(AppState& state, uint16_t index, uint8_t sub, QString& text, int32_t maxLength);
// One byte per character, no NUL; a failure is logged.
[[nodiscard]] int32_t COM_WriteString(AppState& state, uint16_t index, uint8_t sub, const QString& text);
