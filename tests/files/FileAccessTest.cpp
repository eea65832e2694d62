#include "files/FileAccess.h"
#include "files/StudyFile.h"
#include "support/Expectations.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace orbeta {
namespace {

using testing::ErrorOf;
using testing::ReadBytes;
using testing::TemporaryFolder;
using testing::WriteBytes;

TEST(FileErrorMessage, NamesEachSystemErrorAsTheUserSeesIt) {
    TemporaryFolder folder;
    const auto inFolder = folder / "study.w05";
    const auto inMissingFolder = folder / "missing" / "study.w05";
    EXPECT_EQ(FileErrorMessage(ENOENT, inFolder), "File not found");
    EXPECT_EQ(FileErrorMessage(ENOENT, inMissingFolder), "Invalid filename");
    EXPECT_EQ(FileErrorMessage(ENOTDIR, inFolder), "Invalid filename");
    EXPECT_EQ(FileErrorMessage(EMFILE, inFolder), "Too many open files");
    EXPECT_EQ(FileErrorMessage(ENFILE, inFolder), "Too many open files");
    EXPECT_EQ(FileErrorMessage(EACCES, inFolder), "File access denied");
    EXPECT_EQ(FileErrorMessage(EROFS, inFolder), "File access denied");
    EXPECT_EQ(FileErrorMessage(ENOSPC, inFolder), "Disk full");
    EXPECT_EQ(FileErrorMessage(EDQUOT, inFolder), "Disk full");
    EXPECT_EQ(FileErrorMessage(EIO, inFolder), "I/O error " + std::to_string(EIO));
    EXPECT_EQ(FileErrorMessage(EBUSY, inFolder), "I/O error " + std::to_string(EBUSY));
}

TEST(FileErrorMessage, TooManyOpenFilesIsReportedAsSuch) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizers' runtime needs descriptors of its own to check this test";
#endif
    TemporaryFolder folder;
    WriteStudyFile(folder / "study.w05", testing::WorkedExample(), '.');
    rlimit original{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &original), 0);
    const int nextFree = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(nextFree, 0);
    ::close(nextFree);
    rlimit exhausted = original;
    exhausted.rlim_cur = static_cast<rlim_t>(nextFree);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &exhausted), 0);
    const std::string readError = ErrorOf([&] { ReadStudyFile(folder / "study.w05", '.'); });
    const std::string writeError =
        ErrorOf([&] { WriteStudyFile(folder / "other.w05", testing::WorkedExample(), '.'); });
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &original), 0);
    EXPECT_EQ(readError, "Too many open files");
    EXPECT_EQ(writeError, "Too many open files");
}

TEST(ReplaceFile, AFailedWriteLeavesTheOldFileAndAnInterruptedOneGoesOn) {
    TemporaryFolder folder;
    const auto target = folder / "study.w05";
    const std::string study = StudyFileBytes(testing::WorkedExample(), '.');
    struct Case {
        int failingCall;
        int error;
        std::string message;
        std::string contents;
    };
    for (const Case& write :
         {Case{3, ENOSPC, "Disk full", "the old study"}, Case{3, EINTR, "no error", study}}) {
        WriteBytes(target, "the old study");
        // Takes a few bytes a call, as a nearly full disk may, until the failing call.
        int calls = 0;
        const auto writeSome = [&](int descriptor, std::string_view bytes) -> ssize_t {
            if (++calls == write.failingCall) {
                errno = write.error;
                return -1;
            }
            return ::write(descriptor, bytes.data(), std::min<std::size_t>(bytes.size(), 7));
        };
        EXPECT_EQ(ErrorOf([&] { ReplaceFile(target, study, writeSome); }), write.message);
        EXPECT_EQ(ReadBytes(target), write.contents) << write.message;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
    }
}

} // namespace
} // namespace orbeta
