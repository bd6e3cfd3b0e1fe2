#include "transport/can/events/Emcy.h"

#include <QStringList>
#include <algorithm>
#include <iterator>

namespace {
struct CodeText {
    uint16_t code;
    uint16_t mask;   // the digits of `code` that must match
    const char* text;
};

// Most precise first: the lookup takes the first entry that matches.
constexpr CodeText CodeTexts[] = {
    {0x0000, 0xFF00, "Pas d'erreur (fin de défaut)"},
    {0x8110, 0xFFFF, "Débordement CAN (messages perdus)"},
    {0x8120, 0xFFFF, "CAN en erreur passive"},
    {0x8130, 0xFFFF, "Surveillance du heartbeat ou du node guarding"},
    {0x8140, 0xFFFF, "Retour après bus off"},
    {0x8150, 0xFFFF, "Collision de COB-ID"},
    {0x8210, 0xFFFF, "PDO non traité (longueur)"},
    {0x8220, 0xFFFF, "PDO trop long"},
    {0x8240, 0xFFFF, "Longueur de SYNC inattendue"},
    {0x8250, 0xFFFF, "Délai de réception de PDO dépassé"},
    {0x2100, 0xFF00, "Courant en entrée"},
    {0x2200, 0xFF00, "Courant interne"},
    {0x2300, 0xFF00, "Courant en sortie"},
    {0x3100, 0xFF00, "Tension d'alimentation"},
    {0x3200, 0xFF00, "Tension interne"},
    {0x3300, 0xFF00, "Tension de sortie"},
    {0x4100, 0xFF00, "Température ambiante"},
    {0x4200, 0xFF00, "Température de l'appareil"},
    {0x6100, 0xFF00, "Logiciel interne"},
    {0x6200, 0xFF00, "Logiciel utilisateur"},
    {0x6300, 0xFF00, "Jeu de données"},
    {0x8100, 0xFF00, "Communication"},
    {0x8200, 0xFF00, "Erreur de protocole"},
    {0xF000, 0xFF00, "Fonction supplémentaire"},
    {0xFF00, 0xFF00, "Erreur propre à l'appareil"},
    {0x1000, 0xF000, "Erreur générique"},
    {0x2000, 0xF000, "Courant"},
    {0x3000, 0xF000, "Tension"},
    {0x4000, 0xF000, "Température"},
    {0x5000, 0xF000, "Matériel de l'appareil"},
    {0x6000, 0xF000, "Logiciel de l'appareil"},
    {0x7000, 0xF000, "Module supplémentaire"},
    {0x8000, 0xF000, "Surveillance"},
    {0x9000, 0xF000, "Erreur externe"},
};

constexpr const char* RegisterBits[8] = {"générique", "courant",  "tension", "température",
                                         "communication", "profil", nullptr, "fabricant"};
}  // namespace

std::optional<EmcyFrame> decodeEmcy(const CanFrame& frame)
{
    if (frame.id <= emcy::Base || frame.id > emcy::Base + 0x7F)
        return std::nullopt;
    EmcyFrame decoded;
    decoded.node = uint8_t(frame.id - emcy::Base);
    decoded.code = uint16_t(frame.data[0] | frame.data[1] << 8);
    decoded.errorRegister = frame.data[2];
    std::copy(frame.data.begin() + 3, frame.data.end(), decoded.maker.begin());
    if (frame.length != frame.data.size())
        decoded.problem = FrameProblem::WrongLength;
    return decoded;
}

QString emcyCodeText(uint16_t code)
{
    auto found = std::find_if(std::begin(CodeTexts), std::end(CodeTexts),
                              [code](const CodeText& entry) { return (code & entry.mask) == entry.code; });
    return found == std::end(CodeTexts) ? QStringLiteral("Code d'erreur inconnu") : QString::fromUtf8(found->text);
}

QString errorRegisterText(uint8_t errorRegister)
{
    QStringList words;
    for (int bit = 0; bit < 8; ++bit) {
        if (errorRegister & (1 << bit))
            words << (RegisterBits[bit] ? QString::fromUtf8(RegisterBits[bit]) : QStringLiteral("bit %1").arg(bit));
    }
    return words.join(QStringLiteral(", "));
}

QString emcyText(const EmcyFrame& emcy)
{
    const auto hex = [](unsigned value, int digits) {
        return QStringLiteral("0x") + QString::number(value, 16).rightJustified(digits, QLatin1Char('0')).toUpper();
    };
    QString line = QStringLiteral("EMCY %1 : %2").arg(hex(emcy.code, 4), emcyCodeText(emcy.code));
    const QString bits = errorRegisterText(emcy.errorRegister);
    line += QStringLiteral(" — registre %1").arg(hex(emcy.errorRegister, 2));
    if (!bits.isEmpty())
        line += QStringLiteral(" (%1)").arg(bits);
    return line;
}
