#pragma once
#include "sim/serial/SerialRequestParser.h"

class SdoTarget;

// The reply frame the amplifier behind `target` gives to a request. A read answers
// exactly the length asked: a shorter object is padded with NUL bytes (strings
// kept in larger buffers), a longer one is refused. A refusal carries its status
// byte (SerialStatus.h) and no data; a write's reply never carries data.
QByteArray serialReply(SdoTarget& target, const SerialRequest& request);
