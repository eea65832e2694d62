// Feeds arbitrary bytes to the study file reader. Whatever the bytes, it must either refuse them
// with an Error or give a study that saves and reads back unchanged.
#include "files/StudyFile.h"
#include "study/Error.h"
#include "support/Expectations.h"

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
    }
    return 0;
}
