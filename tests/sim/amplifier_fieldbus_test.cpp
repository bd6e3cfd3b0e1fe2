// DPV1 and DeviceNet addresses reach the same entries as SDO, with their own result codes.
#include "core/ResultCodes.h"
#include "sim/SdoTarget.h"
#include "sim/amplifier/FieldbusResult.h"
#include "sim/amplifier_fixture.h"

#include <gtest/gtest.h>

using namespace amptest;

namespace {

TEST(AmplifierFieldbus, AddressesLeadToTheSameEntry)
{
    TestAmplifier amplifier;
    EXPECT_EQ(amplifier->keyOfDpv1(0, 1), (ObjectKey{0x1018, 1}));
    EXPECT_EQ(amplifier->keyOfDeviceNet(100, 1, 1), (ObjectKey{0x1018, 1}));
    EXPECT_EQ(amplifier->keyOfDpv1(1, 10), (ObjectKey{0x2100, 1}));
    EXPECT_EQ(amplifier->keyOfDeviceNet(101, 1, 10), (ObjectKey{0x2100, 1}));
    EXPECT_FALSE(amplifier->keyOfDpv1(1, 11));

    QByteArray data;
    EXPECT_EQ(amplifier->readByDpv1(0, 1, data), 4);
    EXPECT_EQ(data, le32(Vendor));
    EXPECT_EQ(amplifier->writeByDpv1(1, 10, bytes({42})), rc::Ok);
    EXPECT_EQ(readOk(*amplifier, 0x2100, 1), bytes({42}));
    EXPECT_EQ(amplifier->writeByDeviceNet(101, 1, 10, bytes({43})), rc::Ok);
    EXPECT_EQ(amplifier->readByDeviceNet(101, 1, 10, data), 1);
    EXPECT_EQ(data, bytes({43}));
    EXPECT_TRUE(amplifier->isChanged());
}

TEST(AmplifierFieldbus, RefusalsGiveResultCodesAndTheAbortBehind)
{
    TestAmplifier amplifier;
    const struct {
        const char* what;
        std::function<int32_t(uint32_t*)> call;
        int32_t result;
        uint32_t abort;
    } cases[] = {
        {"unknown DPV1 address", [&](uint32_t* a) { QByteArray d; return amplifier->readByDpv1(9, 9, d, a); },
         rc::UnknownOnDevice, sdoabort::NoObject},
        {"unknown DeviceNet address",
         [&](uint32_t* a) { return amplifier->writeByDeviceNet(1, 2, 3, bytes({1}), a); }, rc::UnknownOnDevice,
         sdoabort::NoObject},
        {"read-only", [&](uint32_t* a) { return amplifier->writeByDpv1(0, 1, le32(1), a); }, rc::ReadOnly,
         sdoabort::ReadOnly},
        {"out of range", [&](uint32_t* a) { return amplifier->writeByDeviceNet(101, 1, 10, bytes({201}), a); },
         rc::ValueNotSet, sdoabort::ValueTooHigh},
        {"length", [&](uint32_t* a) { return amplifier->writeByDpv1(1, 10, le16(1), a); }, rc::BufferOverflow,
         sdoabort::LengthMismatch},
    };
    for (const auto& c : cases) {
        uint32_t abort = 0;
        EXPECT_EQ(c.call(&abort), c.result) << c.what;
        EXPECT_EQ(abort, c.abort) << c.what;
    }
    amplifier->setSilent(true);
    QByteArray data;
    EXPECT_EQ(amplifier->readByDpv1(0, 1, data), rc::Timeout);
}

TEST(AmplifierFieldbus, MapsEveryAbortCode)
{
    const std::pair<uint32_t, int32_t> cases[] = {
        {0, rc::Ok},
        {sdoabort::NoObject, rc::UnknownOnDevice},
        {sdoabort::NoSubIndex, rc::UnknownOnDevice},
        {sdoabort::ReadOnly, rc::ReadOnly},
        {sdoabort::WriteOnly, rc::AccessDenied},
        {sdoabort::UnsupportedAccess, rc::AccessDenied},
        {sdoabort::ValueRange, rc::ValueNotSet},
        {sdoabort::ValueTooHigh, rc::ValueNotSet},
        {sdoabort::ValueTooLow, rc::ValueNotSet},
        {sdoabort::CannotStore, rc::ValueNotSet},
        {sdoabort::LengthMismatch, rc::BufferOverflow},
        {sdoabort::LengthTooHigh, rc::BufferOverflow},
        {sdoabort::DeviceState, rc::Refused},
        {sdoabort::Timeout, rc::Timeout},
        {sdoabort::General, rc::AccessDenied},
    };
    for (const auto& [abort, result] : cases)
        EXPECT_EQ(fieldbusResult(abort), result) << std::hex << abort;
}

}  // namespace
