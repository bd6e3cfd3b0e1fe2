#pragma once
#include <QString>
#include <cstddef>
#include <cstdint>

// The fuzz targets, one per input kind. Each runs one input through the code under
// test and returns the first property that did not hold, or an empty text. The
// fuzzers (clang, libFuzzer) and the corpus replay test (any compiler) share them.
QString fuzzSerialReply(const uint8_t* data, size_t size);
QString fuzzSdoClient(const uint8_t* data, size_t size);
QString fuzzDescription(const uint8_t* data, size_t size);
QString fuzzConfiguration(const uint8_t* data, size_t size);
QString fuzzSettings(const uint8_t* data, size_t size);

using FuzzTarget = QString (*)(const uint8_t*, size_t);
