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
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
        FileCalls failing = SystemFileCalls();
        failing.write = [&](int descriptor, std::string_view bytes) -> ssize_t {
            if (++calls == write.failingCall) {
                errno = write.error;
                return -1;
            }
            return ::write(descriptor, bytes.data(), std::min<std::size_t>(bytes.size(), 7));
        };
        EXPECT_EQ(ErrorOf([&] { ReplaceFile(target, study, failing); }), write.message);
        EXPECT_EQ(ReadBytes(target), write.contents) << write.message;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
    }
}

std::size_t EntriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// What a save asks of the system, in order, with each flush naming what it flushed.
TEST(WriteStudyFile, FlushesTheDataBeforeTheRenameAndTheFolderAfterIt) {
    TemporaryFolder folder;
    const auto target = folder / "study.w05";
    WriteBytes(target, "the old study");
    std::vector<std::string> calls;
    FileCalls recording = SystemFileCalls();
    recording.write = [&](int descriptor, std::string_view bytes) {
        calls.push_back("write");
        return ::write(descriptor, bytes.data(), bytes.size());
    };
    recording.fsync = [&](int descriptor) {
        struct stat status {};
        ::fstat(descriptor, &status);
        calls.push_back(S_ISDIR(status.st_mode) ? "fsync folder" : "fsync file");
        return ::fsync(descriptor);
    };
    recording.rename = [&](const char* from, const char* to) {
        calls.push_back("rename");
        return ::rename(from, to);
    };
    WriteStudyFile(target, testing::WorkedExample(), '.', recording);
    EXPECT_EQ(calls, (std::vector<std::string>{"write", "fsync file", "rename", "fsync folder"}));
    EXPECT_EQ(ReadBytes(target), ReadBytes(testing::kWorkedExampleFile));

    // A failed flush is a failed save: the old file stays and no temporary file is left.
    WriteBytes(target, "the old study");
    recording.fsync = [](int) {
        errno = EIO;
        return -1;
    };
    EXPECT_EQ(ErrorOf([&] { WriteStudyFile(target, testing::WorkedExample(), '.', recording); }),
              "I/O error " + std::to_string(EIO));
    EXPECT_EQ(ReadBytes(target), "the old study");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(WriteStudyFile, KeepsTheOwnerAndGroupOfAnotherUsersFile) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the administrator may give a file to another user, as this "
                        "test needs";
    }
    TemporaryFolder folder;
    const auto target = folder / "study.w05";
    WriteBytes(target, "their study");
    ASSERT_EQ(::chown(target.c_str(), 4321, 8765), 0);
    WriteStudyFile(target, testing::WorkedExample(), '.');
    struct stat status {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 4321u);
    EXPECT_EQ(status.st_gid, 8765u);
    EXPECT_EQ(ReadBytes(target), ReadBytes(testing::kWorkedExampleFile));
}

TEST(WriteStudyFile, EveryHardLinkShowsTheNewStudy) {
    TemporaryFolder folder;
    const auto target = folder / "study.w05";
    const auto link = folder / "copy-for-the-audit.w05";
    // Longer than the new study, so that the overwrite must also shorten the file.
    WriteBytes(target, std::string(4000, 'o'));
    std::filesystem::create_hard_link(target, link);
    WriteStudyFile(target, testing::WorkedExample(), '.');
    for (const auto& name : {target, link}) {
        EXPECT_EQ(ReadBytes(name), ReadBytes(testing::kWorkedExampleFile)) << name;
    }
    EXPECT_EQ(std::filesystem::hard_link_count(target), 2u);
    EXPECT_EQ(EntriesIn(folder.Path()), 2u) << "no temporary file is left";
}

TEST(WriteStudyFile, RemovesWhatAnInterruptedSaveOfTheSameFileLeft) {
    TemporaryFolder folder;
    const auto target = folder / "study.w05";
    const std::string study = ReadBytes(testing::kWorkedExampleFile);
    struct Leftover {
        std::string name;
        std::string bytes;
        bool isLeftover;
        bool complete;
    };
    const Leftover leftovers[] = {
        {".study.w05.Ab12Cd", "", true, false},      {".study.w05.x9Y8z7", study, true, true},
        {".study.w05.partial", study, false, false}, {".other.w05.Ab12Cd", study, false, false},
        {"study.w05.Ab12Cd", study, false, false},
    };
    for (const Leftover& leftover : leftovers) {
        WriteBytes(folder / leftover.name, leftover.bytes);
    }
    WriteBytes(target, study);
    std::vector<std::filesystem::path> expectedComplete;
    for (const Leftover& leftover : leftovers) {
        if (leftover.complete) {
            expectedComplete.push_back(folder / leftover.name);
        }
    }
    EXPECT_EQ(CompleteInterruptedSaves(target), expectedComplete);

    WriteStudyFile(target, testing::WorkedExample(), '.');
    for (const Leftover& leftover : leftovers) {
        EXPECT_EQ(std::filesystem::exists(folder / leftover.name), !leftover.isLeftover)
            << leftover.name;
    }
    EXPECT_TRUE(CompleteInterruptedSaves(target).empty());
}

TEST(IdentityOf, TellsAReplacedOrChangedFileFromTheSameOne) {
    TemporaryFolder folder;
    const auto target = folder / "study.w05";
    EXPECT_EQ(IdentityOf(target), std::nullopt);
    WriteBytes(target, "one study");
    const std::optional<FileIdentity> opened = IdentityOf(target);
    ASSERT_TRUE(opened);
    EXPECT_EQ(IdentityOf(target), opened);
    // Another program writes its own file and renames it over, keeping size and time.
    WriteBytes(folder / "theirs", "one STUDY");
    timespec times[2] = {{0, UTIME_OMIT}, {0, 0}};
    times[1].tv_sec = 0;
    times[1].tv_nsec = static_cast<long>(opened->modifiedNanoseconds % 1'000'000'000);
    times[1].tv_sec = static_cast<time_t>(opened->modifiedNanoseconds / 1'000'000'000);
    ASSERT_EQ(::utimensat(AT_FDCWD, (folder / "theirs").c_str(), times, 0), 0);
    std::filesystem::rename(folder / "theirs", target);
    EXPECT_NE(IdentityOf(target), opened) << "a new inode";
}

} // namespace
} // namespace orbeta
