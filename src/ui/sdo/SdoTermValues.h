#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// The data types of the SDO terminal and the text forms of their values.

// Type codes of the typed SDO transfers.
namespace sdotype {
constexpr int32_t Integer32 = 0;
constexpr int32_t Real32 = 1;
constexpr int32_t Unsigned8 = 2;
constexpr int32_t Integer16 = 3;
constexpr int32_t VisibleString = 5;
}  // namespace sdotype

struct SdoDataType {
    QString text;
    int32_t code;
    int bytes;        // on the bus; 0 for a string (its length)
    bool hexAllowed;  // integers may be shown and entered in hexadecimal
};

// In list order; the terminal starts on DefaultSdoDataType.
const std::vector<SdoDataType>& SdoDataTypes();
constexpr int DefaultSdoDataType = 3;
const SdoDataType& SdoDataTypeOf(int32_t code);

// An index or sub-index text read as an unsigned 32-bit hexadecimal number; 0 when
// it is empty or no such number.
uint32_t SdoHexNumber(const QString& text);

// The value of the bytes read (little-endian, missing bytes 0) as the terminal shows
// it: integers in decimal or, with hex, in upper-case hexadecimal digits of the type's
// width; floats with the user's decimal separator.
QString SdoValueText(int32_t code, const QByteArray& bytes, bool hex);
// The bytes to send for an entered number of a numeric type: integers in decimal or,
// with hex, hexadecimal digits, within the type's range; floats as StrToDouble reads
// them. Nothing when the text is no number of the type.
std::optional<QByteArray> SdoValueBytes(int32_t code, const QString& text, bool hex);
// An entered integer in the other base (toHex: decimal to hexadecimal); "" counts as
// "0"; a text that is no number of the type stays as it is.
QString SdoConvertBase(int32_t code, const QString& text, bool toHex);
