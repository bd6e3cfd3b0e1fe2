#pragma once
// Byte strings for the tests: given one by one, or numbers as the amplifiers keep them.
#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <initializer_list>

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

// The low `size` bytes of a number, least significant first.
inline QByteArray le(int64_t value, int size)
{
    QByteArray result;
    for (int i = 0; i < size; ++i)
        result.append(char((uint64_t(value) >> (8 * i)) & 0xFF));
    return result;
}
inline QByteArray le16(int64_t value) { return le(value, 2); }
inline QByteArray le32(int64_t value) { return le(value, 4); }

// The bytes of a number of the type's own width, floats included.
template <typename T>
QByteArray littleEndian(T value)
{
    QByteArray result(sizeof(T), '\0');
    qToLittleEndian<T>(value, result.data());
    return result;
}
