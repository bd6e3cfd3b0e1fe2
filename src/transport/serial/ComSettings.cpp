#include "transport/serial/ComSettings.h"

#include "transport/InterfaceSettings.h"

#include <array>

namespace {

struct Parity {
    const char* word;
    const char* letter;
};

constexpr std::array<Parity, 5> kParities{{
    {"none", "n"}, {"odd", "o"}, {"even", "e"}, {"mark", ""}, {"space", ""},
}};

const Parity* parityOf(int32_t code)
{
    return code >= 0 && code < int32_t(kParities.size()) ? &kParities[size_t(code)] : nullptr;
}

}  // namespace

ComSettings comSettingsOf(const InterfaceSettings& settings)
{
    return ComSettings{settings.ComBaud, settings.ComParity, settings.ComDataBits, settings.ComStopBits,
                       settings.ComPort};
}

QString parityWord(int32_t parity)
{
    const Parity* found = parityOf(parity);
    return found ? QString::fromLatin1(found->word) : QString();
}

QByteArray parityLetter(int32_t parity)
{
    const Parity* found = parityOf(parity);
    return found ? QByteArray(found->letter) : QByteArray();
}

QString COM_SettingsText(const ComSettings& settings)
{
    return QStringLiteral("%1 Baud, %2, %3, %4")
        .arg(settings.ComBaud)
        .arg(int(settings.ComDataBits))
        .arg(parityWord(settings.ComParity))
        .arg(int(settings.ComStopBits));
}
