#include "sim/can/ErrorField.h"

#include "transport/can/lib/SdoAbortCodes.h"

#include <QtEndian>

void ErrorField::add(uint16_t code)
{
    std::lock_guard lock(mutex_);
    errors_.push_front(code);
    if (errors_.size() > size_t(Capacity))
        errors_.pop_back();
}

void ErrorField::clear()
{
    std::lock_guard lock(mutex_);
    errors_.clear();
}

uint32_t ErrorField::read(uint8_t sub, QByteArray& data) const
{
    std::lock_guard lock(mutex_);
    if (sub > Capacity)
        return sdoabort::NoSubIndex;
    if (sub == 0) {
        data = QByteArray(1, char(errors_.size()));
        return 0;
    }
    if (size_t(sub) > errors_.size())
        return sdoabort::NoData;
    data = QByteArray(sizeof(uint32_t), '\0');
    qToLittleEndian<uint32_t>(errors_[sub - 1], data.data());
    return 0;
}

// The count may come as 1 to 4 bytes, as clients write counts.
uint32_t ErrorField::write(uint8_t sub, const QByteArray& data)
{
    if (sub > Capacity)
        return sdoabort::NoSubIndex;
    if (sub > 0)
        return sdoabort::ReadOnly;
    if (data.isEmpty() || data.size() > int(sizeof(uint32_t)))
        return sdoabort::LengthMismatch;
    if (data.count('\0') != data.size())
        return sdoabort::ValueRange;
    clear();
    return 0;
}
