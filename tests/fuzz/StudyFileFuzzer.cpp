// Feeds arbitrary bytes to the study file reader. Whatever the bytes, it must either refuse them
// with an Error or give a study that saves and reads back unchanged, and whose results as the
// reader says the grid shows them are those its cells read back as, and the numbers their texts
// mean as the C library reads them.
#include "engine/Ucalculo.h"
#include "files/StudyFile.h"
#include "study/Error.h"
#include "support/Expectations.h"
#include "support/Studies.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (char separator : {'.', ','}) {
        orbeta::Study study;
        try {
            study = orbeta::ParseStudyFile(bytes, separator);
        } catch (const orbeta::Error&) {
            continue;
        }
        std::string saved;
        try {
            saved = orbeta::StudyFileBytes(study, separator);
        } catch (const orbeta::Error&) {
            // A study the file format cannot hold again (a line feed inside the method name,
            // counts outside the study ranges) is refused by the writer, which is its job.
            continue;
        }
        if (!orbeta::testing::SameFieldsAndGrid(orbeta::ParseStudyFile(saved, separator), study)) {
            std::abort();
        }
        const auto contents = orbeta::ParseStudyFileContents(bytes);
        const auto& shown = contents.shownResults;
        const auto cells = orbeta::ReadResults(study, separator);
        auto same = [](double a, double b) { return std::signbit(a) == std::signbit(b) && a == b; };
        if (!std::equal(shown.begin(), shown.end(), cells.begin(), cells.end(), same)) {
            std::abort();
        }
        const std::vector<std::string> shownTexts = contents.ShownTexts();
        for (std::size_t index = 0; index < shown.size(); ++index) {
            // Adding zero drops the sign of a zero, which the shown text never carries.
            if (!same(std::strtod(shownTexts[index].c_str(), nullptr) + 0.0, shown[index])) {
                std::abort();
            }
        }
    }
    return 0;
}
