#include "core/ResultCodes.h"
#include "transport/can/CanTexts.h"

#include <gtest/gtest.h>

namespace {

struct StatusCase {
    int32_t result;
    int32_t status;
    const char* text;
};

TEST(CanBusStatusText, JoinsResultAndLastStatusBit)
{
    const StatusCase cases[] = {
        {rc::CanTimeout, 0x1A, "Erreur de bus CAN : Timeout; Bus CAN: Bus off!"},
        {rc::CanTimeout, 0, "Erreur de bus CAN : Timeout"},
        {-1, 0, ""},
        {-1, 0x02, "Bus CAN: Débordement tampon !"},
        {-1, 0x06, "Bus CAN: Bus light!"},
        {rc::CanBusHeavy, 0x08, "Erreur de bus CAN : Bus Heavy!; Bus CAN: Bus heavy!"},
        {rc::CanSdoAbort, 0x01, "Erreur de bus CAN !"},
        {rc::CanOutOfMemory, 0x20, "Erreur de bus CAN : Mémoire insuffisante !"},
    };
    for (const StatusCase& c : cases)
        EXPECT_EQ(CAN_BusStatusText(c.result, c.status), QString::fromUtf8(c.text))
            << c.result << " / " << c.status;
}

struct AbortCase {
    QByteArray bytes;
    const char* text;
};

TEST(SdoAbortText, FirstLineAndDescription)
{
    const AbortCase cases[] = {
        {QByteArray::fromHex("00000206"),
         "Error class 6, error 2, additional code 0 (hex)\r\nDescription :The object does not exist in "
         "the dictionary"},
        {QByteArray::fromHex("30000906"),
         "Error class 6, error 9, additional code 30 (hex)\r\nDescription :Surveillance de l'étendue de "
         "mesure dépassée"},
        {QByteArray::fromHex("22000508"),
         "Error class 8, error 5, additional code 22 (hex)\r\nDescription :Data cannot be transferred or "
         "stored to the application because of the present device state."},
        {QByteArray::fromHex("34120305"),
         "Error class 5, error 3, additional code 1234 (hex)\r\nDescription :Toggle bit not altered"},
        {QByteArray::fromHex("ab000907"), "Error class 7, error 9, additional code AB (hex)"},
        {QByteArray::fromHex("47000406"),
         "Error class 6, error 4, additional code 47 (hex)\r\nDescription :General internal "
         "incompatibility in the device"},
    };
    for (const AbortCase& c : cases)
        EXPECT_EQ(SDO_AbortText(c.bytes, int32_t(c.bytes.size())), QString::fromUtf8(c.text));
}

TEST(SdoAbortText, FewerThanFourBytesGiveNoText)
{
    EXPECT_EQ(SDO_AbortText(QByteArray::fromHex("000002"), 3), QString());
    EXPECT_EQ(SDO_AbortText(QByteArray::fromHex("00000206"), 3), QString());
}

}  // namespace
