#pragma once
#include "support/QStringPrint.h"
#include "sim/amplifier/SimRack.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

class SerialFrameServer;
class SimCanNet;
class RecordingCan;

namespace session {

enum class Bus { Can, Profibus, DeviceNet, Serial };
const char* busName(Bus bus);

// The descriptions as the program loads them (by file name).
constexpr int32_t QsgDescription = 0;
constexpr int32_t QsnDescription = 1;

// Amplifiers of the two shipped families at a node; the serial number defaults to
// 1000nn, a product ID of 0 is the description's own.
SimRackEntry qsg(uint8_t node, const QString& serial = {}, uint32_t productId = 0);
SimRackEntry qsn(uint8_t node, const QString& serial = {});

}  // namespace session

// A scripted host whose sleep is time passing for the simulated amplifiers too, and
// which lets a test act when a message is shown.
class SessionHost : public ScriptedHost {
public:
    int showMessage(const QString& text, int style) override;
    void sleepMs(int ms) override;

    SimRack* rack = nullptr;
    std::function<void(const QString&)> onMessage;
};

// Simulated amplifiers on one bus of any kind, reached through the program's own
// transports, with the shipped descriptions loaded, the log open and a session host.
// One world per test case, so that table rows start afresh.
class SessionWorld {
public:
    SessionWorld();
    ~SessionWorld();
    SessionWorld(const SessionWorld&) = delete;
    SessionWorld& operator=(const SessionWorld&) = delete;

    // An amplifier built from a description file of the program folder (a shipped
    // one by its name, or a path) with a serial number; a product ID of 0 is the
    // description's own.
    static SimRackEntry amplifierEntry(const QString& file, uint8_t node, const QString& serial = {},
                                       uint32_t productId = 0);
    // The demo rack: QSG2 at 3, QSN2 at 17, QSG2 at 42, serial numbers 1000nn.
    static std::vector<SimRackEntry> demoRack();

    // Puts the amplifiers on a bus of that kind (a serial line takes the first one)
    // and connects the current interface to it.
    void openBus(session::Bus bus, const std::vector<SimRackEntry>& amplifiers);
    void openBus(session::Bus bus) { openBus(bus, demoRack()); }

    AppState& state() { return folder_.state; }
    SessionHost& host() { return host_; }
    InterfaceSettings& settings() { return state().CurrentInterface; }
    SimRack& rack();
    SimAmplifier& amplifier(uint8_t node);
    // Every time-out the CAN library was given since the bus was opened.
    std::vector<int32_t>& canTimeouts();

    // A device table entry of the bus's kind for the node.
    DeviceEntry device(uint8_t node, int32_t description = session::QsgDescription) const;
    // Takes the entry into the table as the current device and connects it.
    DeviceEntry& connectDevice(uint8_t node, int32_t description = session::QsgDescription);
    // Changes a parameter of the working configuration through the bus, as the grid
    // does: "Scaling/DecimalPointPos" := decimals. The write's result.
    int32_t changeOnDevice(const DeviceEntry& entry, uint8_t decimals);
    // "Scaling/DecimalPointPos" as the amplifier holds it.
    int decimalsOnDevice(uint8_t node);
    // Labels of the device table, in table order.
    QStringList tableLabels() const;

    // The log lines written so far, without their time stamps.
    QStringList logLines() const;
    // The text of the current configuration's element at the path, "<none>" when missing.
    QString stored(const QString& path) const;
    // A copy of a shipped description whose parameter at parameterPath gets one more
    // child element holding the text; the copy's path. Builds amplifiers whose
    // firmware differs from the shipped description's.
    QString describedCopy(const char* file, const QString& parameterPath, const QString& element,
                          const QString& text) const;

private:
    session::Bus bus_ = session::Bus::Can;
    std::unique_ptr<SimRack> rack_;
    SessionHost host_;
    TestFolder folder_;
    SimCanNet* net_ = nullptr;
    RecordingCan* can_ = nullptr;
    std::unique_ptr<SerialFrameServer> server_;
};

