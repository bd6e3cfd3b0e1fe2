#pragma once
#include "sim/amplifier/SimAmplifier.h"

#include <map>
#include <vector>

// One amplifier of a rack: its description file and identity. A vendor or
// product ID of 0 is taken from the first "Code" of the description's
// "Common/VendorID" or "Common/ProductID" enumeration.
struct SimRackEntry {
    QString descriptionPath;
    SimIdentity identity;
};

// A set of simulated amplifiers on one bus, by node ID.
class SimRack {
public:
    // Adds the amplifier; false, and nothing added, when its node ID is taken.
    bool add(std::unique_ptr<SimAmplifier> amplifier);
    // Builds one amplifier per entry. rc::Ok; rc::MissingDocument when a description
    // does not load, rc::Failed for a node ID given twice; *reason tells which.
    // The amplifiers built before a failure stay in the rack.
    [[nodiscard]] int32_t build(const std::vector<SimRackEntry>& entries, QString* reason = nullptr);

    SimAmplifier* node(uint8_t nodeId) const;
    std::vector<uint8_t> nodeIds() const;
    std::size_t size() const { return amplifiers_.size(); }

    // The same clock for every amplifier of the rack.
    void setTimeSource(const std::function<int64_t()>& source);
    void advance(int64_t ms);

private:
    std::map<uint8_t, std::unique_ptr<SimAmplifier>> amplifiers_;
};

namespace demorack {
constexpr const char* StrainGaugeFile = "QSG2.xml";
constexpr const char* StandardSignalFile = "QSN2.xml";
}  // namespace demorack

// The demo rack of the built-in "Simulation" net: QSG2 at node 3 (serial
// "100003"), QSN2 at node 17 ("100017") and QSG2 at node 42 ("100042"), built
// from the shipped descriptions in descriptionFolder.
std::vector<SimRackEntry> demoRackEntries(const QString& descriptionFolder);
[[nodiscard]] int32_t buildDemoRack(SimRack& rack, const QString& descriptionFolder, QString* reason = nullptr);
