// Clicks one page's button on inputs made of the fuzzer's bytes and aborts
// when the core does other than tests/oracle.h says. The bytes are lines: the
// page ('0' to '4', any byte counts modulo 5; from '5' to '9' the sentence
// uses "." instead of ","), field A, field B, unit A, unit B; a missing line
// is an empty text.
#include "oracle.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::istringstream bytes(std::string(reinterpret_cast<const char *>(data), size));
    std::string lines[5];
    for (std::string &line : lines)
        std::getline(bytes, line);
    const unsigned page = static_cast<unsigned char>(lines[0].empty() ? 0 : lines[0][0] - '0');
    const std::string wrong = oracle::mismatch(page % 5, {lines[1], lines[3], lines[2], lines[4]},
                                               page / 5 % 2 == 0 ? "," : ".");
    if (!wrong.empty()) {
        std::fprintf(stderr, "page %u: %s\n", page % 5, wrong.c_str());
        std::abort();
    }
    return 0;
}
