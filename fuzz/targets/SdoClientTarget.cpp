#include "FuzzInput.h"
#include "FuzzTargets.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/CanopenClient.h"
#include "transport/can/lib/InProcessCanBus.h"
#include "transport/can/lib/SdoFrames.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace {

constexpr int kMaxOperations = 8;
constexpr int kMaxFramesPerRequest = 3;
constexpr int kMaxQueued = 3;
constexpr int kMaxCapacity = 64;
constexpr int kMaxDownload = 24;
// Sender of a reply, from the flags' low two bits: 0 and 1 the node itself.
constexpr uint8_t kIdOther = 2, kIdRaw = 3;
constexpr uint8_t kEchoMux = 0x04, kDelayed = 0x08, kShort = 0x10;

// The server of one node, played from the input: every request it hears is
// answered by the next frames of the script (none: silence), from its own node or
// another, with the request's multiplexer or any, at once or later on the bus clock.
class ScriptedServer {
public:
    ScriptedServer(FuzzInput& input, InProcessCanBus& bus, uint8_t node) : input_(input), bus_(bus), node_(node) {}

    void onFrame(const CanFrame& frame)
    {
        if (frame.id != sdo::RequestBase + node_)
            return;
        for (int count = input_.byte() % (kMaxFramesPerRequest + 1); count > 0; --count)
            answer(frame);
    }

private:
    void answer(const CanFrame& request)
    {
        const uint8_t flags = input_.byte();
        CanFrame reply;
        reply.id = idOf(flags & 0x03);
        reply.length = flags & kShort ? input_.byte() % 9 : 8;
        const QByteArray bytes = input_.bytes(8);
        std::copy(bytes.begin(), bytes.end(), reply.data.begin());
        if (flags & kEchoMux)
            std::copy_n(request.data.begin() + 1, 3, reply.data.begin() + 1);
        if (flags & kDelayed)
            bus_.sendAfter(reply, input_.byte());
        else
            bus_.send(reply);
    }

    uint16_t idOf(uint8_t kind)
    {
        if (kind == kIdOther)
            return uint16_t(sdo::ResponseBase + node_ % 127 + 1);
        if (kind == kIdRaw)
            return input_.u16() & 0x7FF;
        return uint16_t(sdo::ResponseBase + node_);
    }

    FuzzInput& input_;
    InProcessCanBus& bus_;
    uint8_t node_;
};

bool isOneOf(int32_t result, std::initializer_list<int32_t> allowed)
{
    return std::find(allowed.begin(), allowed.end(), result) != allowed.end();
}

QString failure(const char* operation, int32_t result)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(operation)).arg(result);
}

class SdoSession {
public:
    SdoSession(FuzzInput& input, CanopenClient& client, uint8_t served)
        : input_(input), client_(client), served_(served) {}

    QString run()
    {
        for (int i = 0; i < kMaxOperations && !input_.empty(); ++i) {
            QString broken;
            switch (input_.byte() % 4) {
            case 0: broken = upload(); break;
            case 1: broken = download(); break;
            case 2: broken = queuedReads(); break;
            default: broken = setTimeout(); break;
            }
            if (!broken.isEmpty())
                return broken;
        }
        return {};
    }

private:
    // Mostly the served node; sometimes any node, also none or one nobody serves.
    uint8_t node()
    {
        const uint8_t choice = input_.byte();
        return choice < 0xF0 ? served_ : choice % 0x90;
    }
    static bool valid(uint8_t node) { return node >= 1 && node <= 127; }

    QString setTimeout()
    {
        const int32_t result = client_.setTimeoutTime(1 + input_.byte());
        return result == rc::Ok ? QString() : failure("setTimeoutTime", result);
    }

    QString upload()
    {
        const uint8_t node = this->node();
        const uint16_t index = input_.u16();
        const uint8_t sub = input_.byte();
        const int32_t capacity = input_.byte() % kMaxCapacity;
        std::array<uint8_t, kMaxCapacity> buffer{};
        int32_t length = capacity;
        const int32_t result = client_.upload(node, index, sub, buffer.data(), length);
        if (!valid(node))
            return result == rc::Failed ? QString() : failure("upload to no node", result);
        if (!isOneOf(result, {rc::Ok, rc::CanTimeout, rc::CanOutOfMemory, rc::CanSdoAbort, rc::CanBusHeavy}))
            return failure("upload", result);
        if (length < 0 || length > capacity)
            return failure("upload length", length);
        if (result == rc::CanSdoAbort && capacity >= 4 &&
            client_.lastAbortCode(node, index, sub) != uint32_t(buffer[0] | buffer[1] << 8 | buffer[2] << 16 | buffer[3] << 24))
            return QStringLiteral("abort code kept differs from the one returned");
        return {};
    }

    QString download()
    {
        const uint8_t node = this->node();
        const uint16_t index = input_.u16();
        const uint8_t sub = input_.byte();
        const QByteArray data = input_.bytes(input_.byte() % kMaxDownload);
        const int32_t result = client_.download(node, index, sub, reinterpret_cast<const uint8_t*>(data.constData()),
                                                int32_t(data.size()));
        if (!valid(node))
            return result == rc::Failed ? QString() : failure("download to no node", result);
        return isOneOf(result, {rc::Ok, rc::CanTimeout, rc::CanSdoAbort, rc::CanBusHeavy}) ? QString()
                                                                                            : failure("download", result);
    }

    QString queuedReads()
    {
        struct Request {
            uint8_t node;
            uint16_t index;
            uint8_t sub;
        };
        std::vector<Request> requests;
        for (int count = 1 + input_.byte() % kMaxQueued; count > 0; --count) {
            Request request{node(), input_.u16(), input_.byte()};
            const int32_t queued = client_.queueReadSdo(request.node, request.index, request.sub);
            if (queued != (valid(request.node) ? rc::Ok : rc::Failed))
                return failure("queueReadSdo", queued);
            if (queued == rc::Ok)
                requests.push_back(request);
        }
        const int32_t order = input_.byte() % 2;
        if (const int32_t set = client_.setReadSdoFromQueueOrder(order); set != rc::Ok)
            return failure("setReadSdoFromQueueOrder", set);
        for (const Request& request : requests) {
            uint32_t sdoError = 0;
            Request named = request;
            QByteArray data;
            const int32_t result = client_.getReadSdoFromQueue(sdoError, named.node, named.index, named.sub, data);
            if (!isOneOf(result, {rc::Ok, rc::CanTimeout, rc::CanOutOfMemory, rc::CanBusHeavy}))
                return failure("getReadSdoFromQueue", result);
            if (sdoError != 0 && !data.isEmpty())
                return QStringLiteral("data with an abort");
        }
        uint32_t sdoError = 0;
        Request none{};
        QByteArray data;
        const int32_t drained = client_.getReadSdoFromQueue(sdoError, none.node, none.index, none.sub, data);
        return drained == rc::Failed ? QString() : failure("getReadSdoFromQueue after the last", drained);
    }

    FuzzInput& input_;
    CanopenClient& client_;
    uint8_t served_;
};

}  // namespace

QString fuzzSdoClient(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t served = 1 + input.byte() % 127;
    std::unique_ptr<ScriptedServer> server;
    CanNetCatalog catalog(false);
    catalog.addBuiltInNet(QStringLiteral("Fuzz"), QStringLiteral("Net"), 500, [&]() -> std::unique_ptr<CanFrameBus> {
        auto bus = std::make_unique<InProcessCanBus>();
        server = std::make_unique<ScriptedServer>(input, *bus, served);
        bus->addServer(served, [&server](const CanFrame& frame) { server->onFrame(frame); });
        return bus;
    });
    CanopenClient client(std::move(catalog));
    if (client.connectClientToNet(QStringLiteral("Fuzz"), QStringLiteral("Net")) != rc::Ok)
        return QStringLiteral("connect failed");
    if (const int32_t set = client.setTimeoutTime(1 + input.byte()); set != rc::Ok)
        return failure("setTimeoutTime", set);
    return SdoSession(input, client, served).run();
}
