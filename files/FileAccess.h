#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

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

// Replaces the file at `path` (or creates it) with `bytes` so that a failure never destroys what
// was there: the bytes go to a new file in the same folder, which then takes the name. A file
// whose permissions forbid writing is refused, as is a folder. Throws Error with the file's
// message; after a failure the old file is intact and no temporary file is left.
void ReplaceFile(const std::filesystem::path& path, std::string_view bytes);

// Hands some of `bytes` to an open file as ::write does: the number of bytes taken, or -1 with
// errno set.
using WriteSome = std::function<ssize_t(int descriptor, std::string_view bytes)>;

// ReplaceFile with every write going through `writeSome`, so that a test can fail any of them.
void ReplaceFile(const std::filesystem::path& path, std::string_view bytes,
                 const WriteSome& writeSome);

} // namespace orbeta
