#pragma once
#include "core/xml/XmlDocument.h"
#include "support/QStringPrint.h"
#include "sim/amplifier/SimAmplifier.h"
#include "sim/amplifier/SimRack.h"
#include "support/TestFolder.h"
#include "transport/InterfaceSettings.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace dpv1test {
class RecordingProfibus;
}
namespace dnettest {
class RecordingDeviceNet;
}
class SerialFrameServer;

namespace devicetest {

// Load order of the shipped descriptions (by file name).
constexpr int32_t QsgDescription = 0;
constexpr int32_t QsnDescription = 1;
// The demo rack: node ID, PROFIBUS station and DeviceNet MAC ID alike.
constexpr uint8_t QsgNode = 3;
constexpr uint8_t QsnNode = 17;
constexpr uint8_t SecondQsgNode = 42;

inline constexpr int32_t AllKinds[] = {CANBus, PROFIBUS, RS232, DeviceNet};
// "CAN", "PROFIBUS", "RS232", "DeviceNet", for the names of parameterised tests.
std::string kindName(int32_t kind);

// Parameter requests that went over the bus (first frames of SDO transfers, library
// transfer calls, serial request frames).
struct Traffic {
    int reads = 0;
    int writes = 0;
};

// The program's state after start-up (App_Init with the shipped descriptions and a
// scripted host) with a connected current interface of one kind and the demo rack
// behind it, reached through the real transport of that kind:
// - CANBus: the built-in net "Simulation"/"Démo" on virtual time, so that time-outs
//   cost nothing;
// - PROFIBUS: the simulated master on Hilscher card 0, every library call recorded;
// - DeviceNet: the simulated master at 500 kBaud, every library call recorded;
// - RS232: COM1 is a pseudo-terminal served by the amplifier at node 3 alone; as in
//   the program, the port is opened by Device_Open.
class DeviceWorld {
public:
    explicit DeviceWorld(int32_t kind);
    ~DeviceWorld();
    DeviceWorld(const DeviceWorld&) = delete;
    DeviceWorld& operator=(const DeviceWorld&) = delete;

    int32_t kind() const { return kind_; }
    AppState& state() { return folder_.state; }
    ScriptedHost& host() { return folder_.host; }
    // The current interface, connected.
    InterfaceSettings& settings() { return folder_.state.CurrentInterface; }
    SimRack& rack();
    SimAmplifier& amplifier(uint8_t node = QsgNode);

    // A device table entry of the world's kind for the node, as the scan makes it
    // (serial number and description index set), not online.
    DeviceEntry entry(uint8_t node = QsgNode);
    // The same entry after Device_Open.
    DeviceEntry openEntry(uint8_t node = QsgNode);
    XmlNode parameter(const QString& path, int32_t description = QsgDescription) const;
    // A new empty current configuration document; its "Parameters".
    XmlNode newConfiguration();
    // The element of a path below "Parameters", null when it does not exist (never creates).
    static XmlNode elementAt(XmlNode parameters, const QString& path);
    // Puts a text into the element of a path below "Parameters" (created when missing).
    static void configure(XmlNode parameters, const QString& path, const QString& text);

    // The bytes the amplifier holds for a parameter; "<none>" when it has none.
    QByteArray stored(const QString& path, uint8_t node = QsgNode);
    // Sets a parameter in the amplifier directly (not over the bus); expects it accepted.
    void put(const QString& path, const QByteArray& bytes, uint8_t node = QsgNode);

    Traffic traffic() const;
    void clearTraffic();
    // CAN only: the amplifier answers the next upload of the path, then falls silent.
    void silenceAfterRead(const QString& path, uint8_t node = QsgNode);

    // The recording libraries of PROFIBUS and DeviceNet worlds (null otherwise).
    dpv1test::RecordingProfibus* profibus() const { return profibus_; }
    dnettest::RecordingDeviceNet* devicenet() const { return devicenet_; }

private:
    class CountingSerial;

    void connectCan();
    void connectSerial();

    int32_t kind_;
    std::atomic<int> reads_{0};
    std::atomic<int> writes_{0};
    std::atomic<int> silenceIndex_{-1};
    std::atomic<int> silenceSub_{-1};
    SimAmplifier* silenceTarget_ = nullptr;
    SimRack rack_;
    SimRack* canRack_ = nullptr;
    std::unique_ptr<SerialFrameServer> server_;
    dpv1test::RecordingProfibus* profibus_ = nullptr;
    dnettest::RecordingDeviceNet* devicenet_ = nullptr;
    TestFolder folder_;
};

// A world per kind, for tests parameterised by interface kind.
class KindTest : public ::testing::TestWithParam<int32_t> {
protected:
    KindTest() : world(GetParam()) {}
    DeviceWorld world;
};

// Little-endian bytes of a number, as the amplifiers keep them.
QByteArray le(int64_t value, int size);

}  // namespace devicetest
