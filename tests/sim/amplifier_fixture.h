#pragma once
#include "sim/amplifier/SimAmplifier.h"
#include "support/Bytes.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <memory>

// A small description with every parameter kind, written to a temporary folder,
// and amplifiers built from it.
namespace amptest {

constexpr uint32_t Vendor = 858;
constexpr uint32_t Product = 77;
constexpr uint8_t Node = 5;

QByteArray testDescription();
// The identity the tests give: vendor 858, product 77, serial "123456", node 5.
SimIdentity testIdentity();

class TestAmplifier {
public:
    TestAmplifier();
    SimAmplifier& operator*() { return *amplifier_; }
    SimAmplifier* operator->() { return amplifier_.get(); }
    QString descriptionPath() const;

private:
    QTemporaryDir folder_;
    std::unique_ptr<SimAmplifier> amplifier_;
};

// The bytes of a read that must succeed.
QByteArray readOk(SimAmplifier& amplifier, uint16_t index, uint8_t sub);
// The float a 4-byte read gives.
float readFloat(SimAmplifier& amplifier, uint16_t index, uint8_t sub);
uint32_t readUnsigned(SimAmplifier& amplifier, uint16_t index, uint8_t sub);

}  // namespace amptest
