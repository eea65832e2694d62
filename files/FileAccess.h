#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace orbeta {

// The message of a failed file operation, as the user is shown it: "File not found",
// "Invalid filename", "Too many open files", "File access denied", "Disk full", or
// "I/O error <number>" for any other system error. A missing file and a missing folder are told
// apart by whether the folder of `path` exists.
std::string FileErrorMessage(int systemError, const std::filesystem::path& path);

// The whole contents of a regular file, or Error with the file's message. A file longer than
// `maximumBytes` is refused with `tooLargeMessage` without being read beyond that size.
std::string ReadWholeFile(const std::filesystem::path& path, std::size_t maximumBytes,
                          const std::string& tooLargeMessage);

// The system calls a replace goes through: the standard ones, or a test's, which can fail any
// of them or note their order.
struct FileCalls {
    // Hands some of the bytes to an open file as ::write does: the number taken, or -1 with
    // errno set.
    std::function<ssize_t(int descriptor, std::string_view bytes)> write;
    // ::fsync of a file or a folder.
    std::function<int(int descriptor)> fsync;
    std::function<int(const char* from, const char* to)> rename;
};
const FileCalls& SystemFileCalls();

// What tells a file apart from one that replaced it, or from itself after a change.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long modifiedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};
// The identity of the file at `path` (through links), nothing when there is none.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

// The temporary files that saves of `path` killed halfway left in its folder: this user's
// regular files named as ReplaceFile names them, in name order.
std::vector<std::filesystem::path> LeftoverTemporaries(const std::filesystem::path& path);

// Replaces the file at `path` (or creates it) with `bytes` so that neither a failure nor a power
// cut destroys what was there: the bytes go to a new file in the same folder, flushed to the
// disk, which then takes the name, and the folder is flushed after. The file keeps its
// permissions and, as far as the user may, its owner and group; a file with other hard links is
// overwritten where it stands once the complete copy is on the disk, so that every link shows
// the new study. The leftovers of earlier interrupted saves of the file are removed first. A file
// whose permissions forbid writing is refused, as is a folder. Throws Error with the file's
// message; after a failure the old file is intact and no temporary file is left, except the
// complete copy when a linked file's overwrite failed halfway.
void ReplaceFile(const std::filesystem::path& path, std::string_view bytes,
                 const FileCalls& calls = SystemFileCalls());

} // namespace orbeta
