// libFuzzer's entry for one target, named by FUZZ_TARGET at compile time: a
// property that does not hold is a crash, so that the fuzzer keeps the input.
#include "targets/FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString broken = FUZZ_TARGET(data, size);
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "property broken: %s\n", qPrintable(broken));
        std::abort();
    }
    return 0;
}
