#include "transport/can/CanTexts.h"

#include "core/ResultCodes.h"

#include <optional>

QString canBusGoneText()
{
    return QStringLiteral("Le bus CAN est injoignable (adaptateur débranché, réseau absent ou bus off) !");
}

QString CAN_BusStatusText(int32_t result, int32_t status)
{
    QString resultText;
    switch (result) {
    case rc::CanBusHeavy: resultText = QStringLiteral("Erreur de bus CAN : Bus Heavy!"); break;
    case rc::CanSdoAbort: resultText = QStringLiteral("Erreur de bus CAN !"); break;
    case rc::CanOutOfMemory: resultText = QStringLiteral("Erreur de bus CAN : Mémoire insuffisante !"); break;
    case rc::CanTimeout: resultText = QStringLiteral("Erreur de bus CAN : Timeout"); break;
    case rc::CanBusGone: resultText = canBusGoneText(); break;
    case rc::CanNoSuchNet: resultText = QStringLiteral("Erreur de bus CAN : matériel ou réseau inexistant !"); break;
    default: break;
    }
    // Tested in this order: the last bit that is set wins.
    QString statusText;
    if (status & canstatus::BufferOverflow)
        statusText = QStringLiteral("Bus CAN: Débordement tampon !");
    if (status & canstatus::BusLight)
        statusText = QStringLiteral("Bus CAN: Bus light!");
    if (status & canstatus::BusHeavy)
        statusText = QStringLiteral("Bus CAN: Bus heavy!");
    if (status & canstatus::BusOff)
        statusText = QStringLiteral("Bus CAN: Bus off!");
    if (!resultText.isEmpty() && !statusText.isEmpty())
        return resultText + QStringLiteral("; ") + statusText;
    return resultText.isEmpty() ? statusText : resultText;
}

namespace {

struct AbortDescription {
    int errorClass;
    std::optional<int> code;        // nullopt: any error code
    std::optional<int> additional;  // nullopt: any additional code
    const char* text;
};

// CiA 301 abort codes as the program describes them, in lookup order.
const AbortDescription kAbortDescriptions[] = {
    {5, 3, std::nullopt, "Toggle bit not altered"},
    {5, 4, 0, "Time out value reached"},
    {5, 4, 1, "Client/server command specifier not valid or unknown"},
    {5, 4, 2, "Invalid block size (block mode only)"},
    {5, 4, 3, "Invalid sequence number (block mode only)"},
    {5, 4, 4, "CRC error (block mode only)"},
    {5, 4, 5, "Out of memory"},
    {6, 1, 0, "Accès à l'objet non supporté"},
    {6, 1, 1, "Attempt to read a write only object"},
    {6, 1, 2, "Attempt to write a read only object"},
    {6, 2, std::nullopt, "The object does not exist in the dictionary"},
    {6, 4, 0x41, "PDO mapping de l'objet impossible"},
    {6, 4, 0x42, "Le nombre ou la longueur des objets à mapper excède la longueur maximale du PDO"},
    {6, 4, 0x43, "Erreur de compatibilité générale du paramètre"},
    {6, 4, 0x47, "General internal incompatibility in the device"},
    {6, 6, std::nullopt, "Access failed because of an hardware error"},
    {6, 7, 0x10, "Data type does not match, length of parameter does not match"},
    {6, 7, 0x12, "Longueur trop grande du type de données"},
    {6, 7, 0x13, "Longueur trop petite du type de données"},
    {6, 9, 0x11, "Sous-index inexistant"},
    {6, 9, 0x30, "Surveillance de l'étendue de mesure dépassée"},
    {6, 9, 0x31, "Surveillance de l'étendue de mesure dépassée à la limite supérieure"},
    {6, 9, 0x32, "Surveillance de l'étendue de mesure dépassé à la limite inférieure"},
    {6, 9, 0x36, "Maximum value is less than minimum value"},
    {8, std::nullopt, 0, "Erreur générale"},
    {8, std::nullopt, 0x20, "Impossible de transmettre des données"},
    {8, std::nullopt, 0x21,
     "Data cannot be transferred or stored to the application because of local control."},
    {8, std::nullopt, 0x22,
     "Data cannot be transferred or stored to the application because of the present device state."},
    {8, std::nullopt, 0x23,
     "Object dictionary dynamic generation fails or no object dictionary is present."},
};

const char* describeAbort(int errorClass, int code, int additional)
{
    for (const AbortDescription& d : kAbortDescriptions) {
        if (d.errorClass == errorClass && (!d.code || *d.code == code) &&
            (!d.additional || *d.additional == additional))
            return d.text;
    }
    return nullptr;
}

}  // namespace

QString SDO_AbortText(const QByteArray& bytes, int32_t length)
{
    if (length < 4 || bytes.size() < 4)
        return {};
    const auto byte = [&](int i) { return int(uint8_t(bytes[i])); };
    const int errorClass = byte(3);
    const int code = byte(2);
    const int additional = byte(1) * 256 + byte(0);
    const QString firstLine = QStringLiteral("Error class %1, error %2, additional code %3 (hex)")
                                  .arg(errorClass)
                                  .arg(code)
                                  .arg(QString::number(additional, 16).toUpper());
    const char* description = describeAbort(errorClass, code, additional);
    if (!description)
        return firstLine;
    return firstLine + QStringLiteral("\r\nDescription :") + QString::fromUtf8(description);
}
