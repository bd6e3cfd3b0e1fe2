#include "sim/serial/SerialReply.h"

#include "sim/SdoTarget.h"
#include "sim/serial/SerialStatus.h"

namespace {

QByteArray readReply(SdoTarget& target, const SerialFrameHeader& request)
{
    QByteArray data;
    uint32_t abort = target.readObject(request.index, request.sub, data);
    if (abort == 0 && uint32_t(data.size()) > request.length)
        abort = sdoabort::LengthTooHigh;
    SerialFrameHeader reply = request;
    reply.status = serialStatus(abort);
    if (abort != 0) {
        reply.length = 0;
        return reply.encode();
    }
    data.append(QByteArray(qsizetype(request.length) - data.size(), '\0'));
    return reply.encode() + data;
}

QByteArray writeReply(SdoTarget& target, const SerialRequest& request)
{
    SerialFrameHeader reply = request.header;
    reply.status = serialStatus(target.writeObject(reply.index, reply.sub, request.data));
    reply.length = 0;
    return reply.encode();
}

}  // namespace

QByteArray serialReply(SdoTarget& target, const SerialRequest& request)
{
    return request.header.command == SerialFrameHeader::Write ? writeReply(target, request)
                                                              : readReply(target, request.header);
}
