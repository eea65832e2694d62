// Feeds orbeta-report's command line arbitrary arguments, one a line. Whatever they are, the
// parser either refuses them with a usage error of one line or gives a command it can carry out.
#include "ReportArguments.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> given;
    for (std::size_t start = 0; start <= bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        given.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    orbeta::report::Arguments arguments;
    try {
        arguments = orbeta::report::ParseArguments(given);
    } catch (const orbeta::report::UsageError& misuse) {
        const std::string_view line = misuse.what();
        if (line.empty() || line.find('\n') != std::string_view::npos) {
            std::abort();
        }
        return 0;
    }
    const bool report = !arguments.help && !arguments.version && !arguments.verify;
    const bool planned = arguments.planInputs.has_value();
    if (report && planned == !arguments.files.empty()) {
        std::abort(); // a plan takes no file; a report needs one
    }
    if (arguments.verify && !arguments.help && !arguments.version && given.size() != 1 &&
        (!arguments.verifyPdf || given.size() > 3 || !arguments.files.empty())) {
        std::abort(); // the check goes alone, or with --pdf and its file
    }
    if (arguments.verifyPdf && (!arguments.verify || arguments.verifyPdf->empty())) {
        std::abort(); // --pdf names a file, and only beside --verify
    }
    if (planned && (!arguments.plan || (!arguments.planInputs->limitRepeatability &&
                                        !arguments.planInputs->limitIntermediate))) {
        std::abort();
    }
    return 0;
}
