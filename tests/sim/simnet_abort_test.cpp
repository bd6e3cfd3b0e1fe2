// SDO aborts of the simulated amplifiers: their codes as the client keeps them and
// their texts as the program shows them.
#include "sim/simnet_fixture.h"

#include "core/ResultCodes.h"
#include "sim/SdoTarget.h"
#include "transport/ErrorText.h"
#include "transport/can/CanTexts.h"
#include "transport/can/SdoSync.h"
#include "transport/can/SdoTransfers.h"
#include "transport/can/lib/CanLibrary.h"

#include <functional>

namespace {

using simnet::le32;

struct ReadAbortCase {
    const char* what;
    uint8_t node;
    int32_t description;
    const char* path;
    std::function<void(SimAmplifier&)> fault;
    uint32_t code;
    QString text;
};

TEST_F(SimNetTest, ReadAbortIsNotRetriedAndItsCodeIsReadBackForItsText)
{
    const ReadAbortCase cases[] = {
        {"write-only parameter", 3, QsgDescription, "TEDS/TEDSCheck", nullptr, sdoabort::WriteOnly,
         "Error class 6, error 1, additional code 1 (hex)\r\nDescription :Attempt to read a write only object"},
        {"QSG2 object asked of a QSN2", 17, QsgDescription, "TEDS/TEDSBlock", nullptr, sdoabort::NoObject,
         "Error class 6, error 2, additional code 0 (hex)\r\nDescription :The object does not exist in the "
         "dictionary"},
        {"refused in the present state", 42, QsgDescription, "Measurement/ValueNet",
         [](SimAmplifier& a) { a.refuseAt(SimDirection::Read, {0x2200, 2}, sdoabort::DeviceState); },
         sdoabort::DeviceState,
         "Error class 8, error 0, additional code 22 (hex)\r\nDescription :Data cannot be transferred or "
         "stored to the application because of the present device state."},
        {"hardware error on every read", 17, QsnDescription, "Common/ChannelName",
         [](SimAmplifier& a) { a.refuseAll(SimDirection::Read, 0x06060000); }, 0x06060000,
         "Error class 6, error 6, additional code 0 (hex)\r\nDescription :Access failed because of an "
         "hardware error"},
        {"code the program has no words for", 3, QsgDescription, "Common/ChannelName",
         [](SimAmplifier& a) { a.refuseAll(SimDirection::Read, 0x08000024); }, 0x08000024,
         "Error class 8, error 0, additional code 24 (hex)"},
    };
    for (const ReadAbortCase& c : cases) {
        SCOPED_TRACE(c.what);
        amplifier(c.node).clearFaults();
        if (c.fault)
            c.fault(amplifier(c.node));
        host().statusTexts.clear();
        const int64_t start = busTimeMs();

        QByteArray buffer;
        int32_t length = 4;
        EXPECT_EQ(SDO_ReadParam(state(), settings_, c.node, parameter(c.path, c.description), buffer, length,
                                &host()),
                  rc::CanSdoAbort);
        EXPECT_TRUE(host().statusTexts.isEmpty()) << "no attempt text, no retry";
        EXPECT_EQ(busTimeMs(), start) << "answered at once";

        const DeviceEntry entry = device(c.node, c.description);
        QByteArray code;
        length = 0;
        EXPECT_EQ(SDO_ReadAbortCode(state(), settings_, entry, c.path, code, length), rc::CanSdoAbort);
        EXPECT_EQ(length, 4);
        EXPECT_EQ(code, le32(c.code));
        EXPECT_EQ(SDO_AbortText(code, length), c.text);
        EXPECT_EQ(ErrorText(state(), settings_, entry, rc::CanSdoAbort, c.path),
                  QStringLiteral("Erreur CiA : '") + c.text + '\'');
    }
    EXPECT_TRUE(host().messages.empty());
}

TEST_F(SimNetTest, RefusedWritesKeepTheAmplifiersAbortCode)
{
    uint8_t decimals = 0;
    ASSERT_EQ(SDO_ReadValue(can(), 42, 0x2500, 2, decimals), rc::Ok);
    const struct {
        const char* what;
        std::function<int32_t()> write;
        uint16_t index;
        uint8_t sub;
        uint32_t code;
    } cases[] = {
        {"string beyond its length",
         [&] { return SDO_WriteString(state(), settings_, 42, 0x2002, 0, QString(17, 'x')); }, 0x2002, 0,
         sdoabort::LengthTooHigh},
        {"read-only identity", [&] { return SDO_Write4(state(), settings_, 42, 0x1018, 1, 1); }, 0x1018, 1,
         sdoabort::ReadOnly},
        {"decimals above the limit", [&] { return SDO_WriteValue<uint8_t>(can(), 42, 0x2500, 2, 7); }, 0x2500, 2,
         sdoabort::ValueTooHigh},
        {"4 bytes into a byte", [&] { return SDO_Write4(state(), settings_, 42, 0x2500, 2, 3); }, 0x2500, 2,
         sdoabort::LengthMismatch},
        {"no such sub-index", [&] { return SDO_Write4(state(), settings_, 42, 0x1018, 9, 0); }, 0x1018, 9,
         sdoabort::NoSubIndex},
        {"no such object", [&] { return SDO_Write4(state(), settings_, 42, 0x5FFF, 0, 0); }, 0x5FFF, 0,
         sdoabort::NoObject},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.write(), rc::CanSdoAbort) << c.what;
        EXPECT_EQ(can().lastAbortCode(42, c.index, c.sub), c.code) << c.what;
    }
    uint8_t after = 0xFF;
    ASSERT_EQ(SDO_ReadValue(can(), 42, 0x2500, 2, after), rc::Ok);
    EXPECT_EQ(after, decimals) << "the refused values were not taken";
}

}  // namespace
