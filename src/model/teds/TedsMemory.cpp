#include "model/teds/TedsMemory.h"

namespace tedsmemory {

int pagesFor(int bits)
{
    return (bits + PageDataBits - 1) / PageDataBits;
}

QByteArray dataStream(const QByteArray& image)
{
    QByteArray stream;
    for (int page = 0; page * PageBytes < image.size(); ++page)
        stream += image.mid(page * PageBytes + 1, PageDataBytes);
    return stream;
}

void storeStream(QByteArray& image, const QByteArray& stream, int pages)
{
    if (image.size() < pages * PageBytes)
        image.append(QByteArray(pages * PageBytes - image.size(), '\0'));
    const QByteArray data = stream.leftJustified(pages * PageDataBytes, '\0', true);
    for (int page = 0; page < pages; ++page) {
        image.replace(page * PageBytes + 1, PageDataBytes, data.mid(page * PageDataBytes, PageDataBytes));
        image[page * PageBytes] = char(checksumFor(image, page));
    }
}

uint8_t checksumFor(const QByteArray& image, int page)
{
    uint8_t sum = 0;
    for (int i = 1; i < PageBytes; ++i)
        sum = uint8_t(sum + uint8_t(image.at(page * PageBytes + i)));
    return uint8_t(0x100 - sum);
}

bool pageSound(const QByteArray& image, int page)
{
    return uint8_t(image.at(page * PageBytes)) == checksumFor(image, page);
}

}  // namespace tedsmemory
