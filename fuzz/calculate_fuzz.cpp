// Clicks one page's button on inputs made of the fuzzer's bytes and aborts
// when the click breaks what tests/click_check.h asks of every click.
// The bytes are lines: the page ('0' to '4', any byte counts modulo 5), field
// A, field B, unit A, unit B; a missing line is an empty text.
#include "click_check.h"
#include "core/pages.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view rest(reinterpret_cast<const char *>(data), size);
    std::array<std::string, 5> lines;
    for (std::string &line : lines) {
        const std::size_t end = rest.find('\n');
        line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }

    const auto pageByte = static_cast<unsigned char>(lines[0].empty() ? '0' : lines[0][0]);
    const auto &page = dielektra::CalcPages[static_cast<std::size_t>(pageByte - '0') %
                                            dielektra::CalcPages.size()];
    const clickcheck::ClickReport report =
        clickcheck::ClickAndCheck(page, {lines[1], lines[2], lines[3], lines[4]});
    if (!report.violation.empty()) {
        std::fprintf(stderr, "page %.*s: %s\n", static_cast<int>(page.button.size()),
                     page.button.data(), report.violation.c_str());
        std::abort();
    }
    return 0;
}
