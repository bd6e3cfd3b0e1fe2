#pragma once
#include "core/xml/XmlDocument.h"
#include "sim/amplifier/SimAmplifier.h"
#include "support/TestFolder.h"
#include "transport/InterfaceSettings.h"

#include <gtest/gtest.h>

class CanLibrary;
class SimCanNet;

// The built-in net "Simulation"/"Démo" (QSG2 at node 3, QSN2 at 17, QSG2 at 42) on
// virtual time, reached through the CANopen client as the program reaches it, with
// the shipped descriptions loaded and a scripted host.
class SimNetTest : public ::testing::Test {
protected:
    // Load order of the shipped descriptions (by file name).
    static constexpr int32_t QsgDescription = 0;
    static constexpr int32_t QsnDescription = 1;

    SimNetTest();

    AppState& state() { return folder_.state; }
    ScriptedHost& host() { return folder_.host; }
    CanLibrary& can();
    SimCanNet& net() { return *net_; }
    SimAmplifier& amplifier(uint8_t node);
    int64_t busTimeMs();

    // A device table entry for a node, read with the description given.
    static DeviceEntry device(uint8_t node, int32_t descriptionIndex);
    XmlNode parameter(const QString& path, int32_t descriptionIndex = QsgDescription);

    InterfaceSettings settings_;
    TestFolder folder_;
    SimCanNet* net_ = nullptr;
};

namespace simnet {
QByteArray le32(uint32_t value);
}  // namespace simnet
