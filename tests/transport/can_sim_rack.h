#pragma once
#include "sim/SdoTarget.h"
#include "support/Bytes.h"
#include "support/QStringPrint.h"
#include "sim/can/SdoServer.h"
#include "transport/can/lib/CanNetCatalog.h"
#include "transport/can/lib/InProcessCanBus.h"

#include <QCoreApplication>

#include <cstdio>
#include <functional>
#include <map>
#include <ostream>
#include <memory>
#include <set>
#include <utility>
#include <vector>

// An object dictionary in a map, for SDO servers under test.
class MapSdoTarget : public SdoTarget {
public:
    using Key = std::pair<uint16_t, uint8_t>;
    std::map<Key, QByteArray> objects;
    std::set<Key> readOnly;

    uint32_t readObject(uint16_t index, uint8_t sub, QByteArray& data) override
    {
        auto found = objects.find({index, sub});
        if (found == objects.end())
            return sdoabort::NoObject;
        data = found->second;
        return 0;
    }

    uint32_t writeObject(uint16_t index, uint8_t sub, const QByteArray& data) override
    {
        Key key{index, sub};
        if (!objects.count(key))
            return sdoabort::NoObject;
        if (readOnly.count(key))
            return sdoabort::ReadOnly;
        objects[key] = data;
        return 0;
    }
};

// An in-process bus with SDO servers on map dictionaries, which records every frame.
class CanTestRack : public InProcessCanBus {
public:
    CanTestRack()
    {
        logger_ = addListener([this](const CanFrame& frame) { log.push_back(frame); });
    }
    ~CanTestRack() override
    {
        servers_.clear();
        removeListener(logger_);
    }

    SdoServer& addNode(uint8_t node)
    {
        auto& target = targets_[node];
        target = std::make_unique<MapSdoTarget>();
        auto& server = servers_[node];
        server = std::make_unique<SdoServer>(*this, node, *target);
        return *server;
    }
    MapSdoTarget& target(uint8_t node) { return *targets_.at(node); }
    SdoServer& server(uint8_t node) { return *servers_.at(node); }

    std::vector<CanFrame> framesWithId(uint16_t id) const
    {
        std::vector<CanFrame> result;
        for (const CanFrame& frame : log) {
            if (frame.id == id)
                result.push_back(frame);
        }
        return result;
    }

    std::vector<CanFrame> log;

private:
    std::map<uint8_t, std::unique_ptr<MapSdoTarget>> targets_;
    std::map<uint8_t, std::unique_ptr<SdoServer>> servers_;
    ListenerId logger_;
};

// A catalog with the built-in net "Simulation"/"Démo": a fresh rack, which `rack`
// points to once the net is opened and `setUp` prepares.
inline CanNetCatalog demoNetCatalog(CanTestRack*& rack, int kbit = 1000,
                                    std::function<void(CanTestRack&)> setUp = {})
{
    CanNetCatalog catalog(false);
    catalog.addBuiltInNet("Simulation", "Démo", kbit, [&rack, setUp] {
        auto opened = std::make_unique<CanTestRack>();
        rack = opened.get();
        if (setUp)
            setUp(*opened);
        return opened;
    });
    return catalog;
}

inline QByteArray pattern(int size)
{
    QByteArray result;
    for (int i = 0; i < size; ++i)
        result.append(char('A' + i % 26));
    return result;
}

// The worker threads of QCanBus devices run event loops, which Qt allows only under
// an application.
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "test_transport";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        static QCoreApplication application(argc, argv);
}

// A full 8-byte SDO frame; the bytes not given are zero.
inline CanFrame sdoFrame(uint16_t id, std::initializer_list<uint8_t> values)
{
    CanFrame frame = CanFrame::make(id, values);
    frame.length = 8;
    return frame;
}

inline void PrintTo(const CanFrame& frame, std::ostream* os)
{
    char text[64];
    std::snprintf(text, sizeof text, "%03X [%u] %02X %02X %02X %02X %02X %02X %02X %02X", frame.id, frame.length,
                  frame.data[0], frame.data[1], frame.data[2], frame.data[3], frame.data[4], frame.data[5],
                  frame.data[6], frame.data[7]);
    *os << text;
}
