// libFuzzer entry point; the body lives in harness/ so that replay tests run it too.
#include <cstddef>
#include <cstdint>

#include "fuzz/harness/Harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    pomvella::fuzz::FuzzBuild(pomvella::ByteSpan(data, size));
    return 0;
}
