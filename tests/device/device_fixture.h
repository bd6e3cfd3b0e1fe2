#pragma once
#include "core/xml/XmlDocument.h"
#include "sim/amplifier/SimAmplifier.h"
#include "sim/amplifier/SimRack.h"
#include "support/Bytes.h"
#include "support/QStringPrint.h"
#include "support/TestFolder.h"
#include "transport/InterfaceSettings.h"
#include "transport/fieldbus_fixture.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class SerialFrameServer;

namespace devicetest {

class RecordingCan;

// Load order of the shipped descriptions (by file name).
constexpr int32_t QsgDescription = 0;
constexpr int32_t QsnDescription = 1;
// The demo rack: node ID, PROFIBUS station and DeviceNet MAC ID alike.
constexpr uint8_t QsgNode = 3;
constexpr uint8_t QsnNode = 17;
constexpr uint8_t SecondQsgNode = 42;

inline constexpr int32_t AllKinds[] = {CANBus, PROFIBUS, RS232, DeviceNet};
// "CAN", "PROFIBUS", "RS232", "DeviceNet", for traces and the names of parameterised tests.
std::string kindName(int32_t kind);

// An amplifier built from a description file of the program folder (a shipped one by
// its name, or a path); the serial number defaults to 1000nn, a product ID of 0 is the
// description's own.
SimRackEntry amplifierEntry(const QString& file, uint8_t node, const QString& serial = {}, uint32_t productId = 0);
SimRackEntry qsg(uint8_t node, const QString& serial = {}, uint32_t productId = 0);
SimRackEntry qsn(uint8_t node, const QString& serial = {});
// The demo rack: QSG2 at 3, QSN2 at 17, QSG2 at 42.
std::vector<SimRackEntry> demoRack();

// Parameter transfers the program asked of the bus library (CAN uploads and downloads,
// PROFIBUS and DeviceNet reads and writes, serial request frames).
struct Traffic {
    int reads = 0;
    int writes = 0;
};

// A scripted host whose sleep is time passing for the simulated amplifiers too, and
// which lets a test act when a message is shown.
class RackHost : public ScriptedHost {
public:
    int showMessage(const QString& text, int style) override;
    void sleepMs(int ms) override;

    SimRack* rack = nullptr;
    std::function<void(const QString&)> onMessage;
};

// The program's state after start-up (App_Init with the shipped descriptions, the log
// on) and, once opened, a connected current interface of one kind with simulated
// amplifiers behind it, reached through the real transport of that kind:
// - CANBus: the built-in net "Simulation"/"Démo" on virtual time, so that time-outs
//   cost nothing;
// - PROFIBUS: the simulated master on a Hilscher card, every library call recorded;
// - DeviceNet: the simulated master at 500 kBaud, every library call recorded;
// - RS232: COM1 is a pseudo-terminal served by the first amplifier alone; as in the
//   program, the port is opened by Device_Open.
class DeviceWorld {
public:
    DeviceWorld();
    explicit DeviceWorld(int32_t kind, const std::vector<SimRackEntry>& amplifiers = demoRack());
    ~DeviceWorld();
    DeviceWorld(const DeviceWorld&) = delete;
    DeviceWorld& operator=(const DeviceWorld&) = delete;

    void open(int32_t kind, const std::vector<SimRackEntry>& amplifiers = demoRack());

    int32_t kind() const { return kind_; }
    AppState& state() { return folder_.state; }
    RackHost& host() { return host_; }
    // The current interface, connected.
    InterfaceSettings& settings() { return folder_.state.CurrentInterface; }
    SimRack& rack();
    SimAmplifier& amplifier(uint8_t node = QsgNode);

    // A device table entry of the world's kind for the node, as the scan makes it
    // (serial number and description index set), not online.
    DeviceEntry entry(uint8_t node = QsgNode);
    // The same entry after Device_Open.
    DeviceEntry openEntry(uint8_t node = QsgNode);
    // The entry taken into the table as the current device and connected (configuration read).
    DeviceEntry& connectDevice(uint8_t node = QsgNode);
    XmlNode parameter(const QString& path, int32_t description = QsgDescription) const;

    // A new empty current configuration document; its "Parameters".
    XmlNode newConfiguration();
    // The current configuration's element at a path below "Parameters", null when it
    // does not exist (never creates).
    XmlNode element(const QString& path) const;
    // Puts a text into that element (created when missing).
    void configure(const QString& path, const QString& text);

    // The bytes the amplifier holds for a parameter; "<none>" when it has none.
    QByteArray onDevice(const QString& path, uint8_t node = QsgNode);
    // Sets a parameter in the amplifier directly (not over the bus); expects it accepted.
    void put(const QString& path, const QByteArray& bytes, uint8_t node = QsgNode);

    Traffic traffic() const;
    void clearTraffic();
    // CAN only: the amplifier answers the next upload of the path, then falls silent.
    void silenceAfterRead(const QString& path, uint8_t node = QsgNode);
    // CAN only: every time-out the library was given since the last clearTraffic.
    const std::vector<int32_t>& canTimeouts() const;

    // Labels of the device table, in table order.
    QStringList tableLabels() const;
    // The log lines written so far, without their time stamps.
    QStringList logLines() const;
    // A copy of a shipped description whose parameter at parameterPath gets one more
    // child element holding the text; the copy's path. Builds amplifiers whose
    // firmware differs from the shipped description's.
    QString describedCopy(const char* file, const QString& parameterPath, const QString& element,
                          const QString& text) const;

    // The recording libraries of PROFIBUS and DeviceNet worlds (null otherwise).
    dpv1test::RecordingProfibus* profibus() const { return profibus_; }
    dnettest::RecordingDeviceNet* devicenet() const { return devicenet_; }

private:
    class CountingSerial;

    void openCan(const std::vector<SimRackEntry>& amplifiers);
    void openSerial(const SimRackEntry& amplifier);

    int32_t kind_ = NoInterfaceKind;
    int serialReads_ = 0;
    int serialWrites_ = 0;
    std::unique_ptr<SimRack> rack_;
    SimRack* canRack_ = nullptr;
    RecordingCan* can_ = nullptr;
    std::unique_ptr<SerialFrameServer> server_;
    dpv1test::RecordingProfibus* profibus_ = nullptr;
    dnettest::RecordingDeviceNet* devicenet_ = nullptr;
    RackHost host_;
    TestFolder folder_;
};

// A world per kind, for tests parameterised by interface kind.
class KindTest : public ::testing::TestWithParam<int32_t> {
protected:
    KindTest() : world(GetParam()) {}
    DeviceWorld world;
};

}  // namespace devicetest
