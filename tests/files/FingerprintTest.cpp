#include "files/Fingerprint.h"

#include "files/StudyFile.h"
#include "support/Processes.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace orbeta {
namespace {

// The examples of FIPS 180-2 (NIST), and a byte no text decoding may touch.
TEST(Fingerprint, Sha256OfTheNistExamples) {
    struct Case {
        std::string bytes;
        const char* digest;
    };
    const Case cases[] = {
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sha256Hex(c.bytes), c.digest) << c.bytes.substr(0, 10);
    }
}

// A saved study's fingerprint is sha256sum's of its file; the same study unsaved gives the same
// digits, marked as such, and any change of a result changes them.
TEST(Fingerprint, OfASavedFileEqualsSha256sumAndAnUnsavedStudyIsMarked) {
    const testing::TemporaryFolder folder;
    const auto file = folder / "estudio.w05";
    Study study = testing::WorkedExample();
    WriteStudyFile(file, study, '.');
    const testing::Outcome sum = testing::RunCommand("sha256sum '" + file.string() + "'");
    ASSERT_EQ(sum.status, 0);
    const DataFingerprint saved = FingerprintOfSavedBytes(testing::ReadBytes(file));
    EXPECT_EQ(saved.hex, sum.out.substr(0, 64));
    EXPECT_EQ(saved.Short(), sum.out.substr(0, 16));
    EXPECT_EQ(saved.Described(), sum.out.substr(0, 64));

    const DataFingerprint unsaved = FingerprintOfUnsavedStudy(study, '.');
    EXPECT_EQ(unsaved.Described(), sum.out.substr(0, 64) + " (modificado sin guardar)");
    study.SetCell(1, 1, "99.2");
    EXPECT_NE(FingerprintOfUnsavedStudy(study, '.').hex, saved.hex);
}

} // namespace
} // namespace orbeta
