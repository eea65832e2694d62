#include "files/FileAccess.h"

#include "study/Error.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orbeta {

namespace {

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    const auto folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

[[noreturn]] void ThrowFileError(int systemError, const std::filesystem::path& path) {
    throw Error(FileErrorMessage(systemError, path));
}

// Closes a descriptor when its scope ends, whatever way it ends.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : m_descriptor(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
    }
    int Get() const { return m_descriptor; }
    // Closes now, reporting the system error of the close (0 when it succeeded).
    int Close() {
        const int result = ::close(m_descriptor);
        m_descriptor = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_descriptor;
};

// Returns the system error of the first failed write, 0 when every byte was written.
int WriteAll(int descriptor, std::string_view bytes, const decltype(FileCalls::write)& writeSome) {
    while (!bytes.empty()) {
        const ssize_t written = writeSome(descriptor, bytes);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// The six characters mkstemp puts after a temporary file's name.
constexpr std::size_t kTemporarySuffixLength = 6;

// Makes a change of the folder's entries durable; 0 or the system error.
int SyncFolder(const std::filesystem::path& path, const FileCalls& calls) {
    Descriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0 || calls.fsync(folder.Get()) != 0) {
        return errno;
    }
    return folder.Close();
}

// A file with other hard links is written over where it stands, so that every name of it shows
// the new study; a rename would leave the other names on the old one. The complete new study is
// on the disk first, under the temporary name, and stays there until the file holds it too: a
// failure or a kill halfway through leaves that copy, which the next save or start finds. The
// space is reserved before the first byte is overwritten, so a full disk leaves the file as it
// was. 0 or the system error; `overwriting` is set once the file's first byte may have changed.
int OverwriteInPlace(const std::filesystem::path& path, std::string_view bytes,
                     const FileCalls& calls, bool& overwriting) {
    if (const int error = SyncFolder(path, calls); error != 0) {
        return error;
    }
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        return errno;
    }
    const auto size = static_cast<off_t>(bytes.size());
    if (const int reserveError = ::posix_fallocate(file.Get(), 0, std::max<off_t>(size, 1));
        reserveError != 0 && reserveError != EOPNOTSUPP && reserveError != EINVAL) {
        return reserveError;
    }
    overwriting = true;
    if (const int writeError = WriteAll(file.Get(), bytes, calls.write); writeError != 0) {
        return writeError;
    }
    if (::ftruncate(file.Get(), size) != 0 || calls.fsync(file.Get()) != 0) {
        return errno;
    }
    return file.Close();
}

mode_t ModeOfNewFiles() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

std::string FileErrorMessage(int systemError, const std::filesystem::path& path) {
    switch (systemError) {
    case ENOENT: {
        std::error_code ignored;
        return std::filesystem::is_directory(FolderOf(path), ignored) ? "File not found"
                                                                      : "Invalid filename";
    }
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(systemError);
    }
}

std::string ReadWholeFile(const std::filesystem::path& path, std::size_t maximumBytes,
                          const std::string& tooLargeMessage) {
    // Not blocking on open, so that a named pipe cannot hang the program; it is refused below.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) {
        ThrowFileError(errno, path);
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        ThrowFileError(errno, path);
    }
    if (!S_ISREG(status.st_mode)) {
        ThrowFileError(S_ISDIR(status.st_mode) ? EISDIR : EACCES, path);
    }
    // Sized by what the file says it holds, and grown only if it turns out to hold more, up to
    // one byte past the limit, which is enough to know it is too large.
    std::string contents;
    contents.resize(
        std::min(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)), maximumBytes) + 1);
    std::size_t filled = 0;
    while (true) {
        if (filled == contents.size()) {
            if (filled > maximumBytes) {
                break;
            }
            contents.resize(std::min(contents.size() * 2, maximumBytes + 1));
        }
        const ssize_t count =
            ::read(file.Get(), contents.data() + filled, contents.size() - filled);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowFileError(errno, path);
        }
        if (count == 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    if (filled > maximumBytes) {
        throw Error(tooLargeMessage);
    }
    if (const int error = file.Close(); error != 0) {
        ThrowFileError(error, path);
    }
    contents.resize(filled);
    return contents;
}

const FileCalls& SystemFileCalls() {
    static const FileCalls calls{
        [](int descriptor, std::string_view bytes) {
            return ::write(descriptor, bytes.data(), bytes.size());
        },
        [](int descriptor) { return ::fsync(descriptor); },
        [](const char* from, const char* to) { return ::rename(from, to); },
    };
    return calls;
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileIdentity{status.st_dev, status.st_ino, status.st_size,
                        static_cast<long long>(status.st_mtim.tv_sec) * 1'000'000'000 +
                            status.st_mtim.tv_nsec};
}

std::vector<std::filesystem::path> LeftoverTemporaries(const std::filesystem::path& path) {
    const std::string prefix = "." + path.filename().string() + ".";
    std::vector<std::filesystem::path> leftovers;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(FolderOf(path), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.size() != prefix.size() + kTemporarySuffixLength || !name.starts_with(prefix) ||
            !std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; })) {
            continue;
        }
        struct stat status {};
        if (::lstat(entry->path().c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            status.st_uid == ::geteuid()) {
            leftovers.push_back(entry->path());
        }
    }
    std::sort(leftovers.begin(), leftovers.end());
    return leftovers;
}

void ReplaceFile(const std::filesystem::path& requestedPath, std::string_view bytes,
                 const FileCalls& calls) {
    // Saving through a link replaces the file it points to, not the link.
    std::filesystem::path path = requestedPath;
    struct stat linkStatus {};
    if (::lstat(requestedPath.c_str(), &linkStatus) == 0 && S_ISLNK(linkStatus.st_mode)) {
        std::error_code linkError;
        path = std::filesystem::weakly_canonical(requestedPath, linkError);
        if (linkError) {
            ThrowFileError(linkError.value(), requestedPath);
        }
    }
    mode_t mode = ModeOfNewFiles();
    struct stat status {};
    const bool exists = ::stat(path.c_str(), &status) == 0;
    if (exists) {
        // Checked on the permission bits rather than by trying, so that a read-only file is
        // refused for every user, the administrator included.
        if (S_ISDIR(status.st_mode) || (status.st_mode & S_IWUSR) == 0) {
            ThrowFileError(EACCES, path);
        }
        mode = status.st_mode & 07777;
    } else if (errno != ENOENT) {
        ThrowFileError(errno, path);
    }

    // What an earlier save of this file left behind when it was killed halfway.
    for (const std::filesystem::path& leftover : LeftoverTemporaries(path)) {
        ::unlink(leftover.c_str());
    }
    std::string temporaryName = (FolderOf(path) / ("." + path.filename().string() + ".XXXXXX"));
    Descriptor temporary(::mkstemp(temporaryName.data()));
    if (temporary.Get() < 0) {
        ThrowFileError(errno, path);
    }
    // Once a file with other links is being overwritten, the temporary file is the one complete
    // copy of the new study until the overwrite is done.
    bool overwriting = false;
    const int error = [&] {
        if (exists && (status.st_uid != ::geteuid() || status.st_gid != ::getegid())) {
            // The file keeps its owner and group, as far as this user may give them: a user
            // who is not the administrator can still keep a group of their own.
            if (::fchown(temporary.Get(), status.st_uid, status.st_gid) != 0 &&
                ::fchown(temporary.Get(), static_cast<uid_t>(-1), status.st_gid) != 0) {
                errno = 0;
            }
        }
        // After the owner: a change of owner clears the set-id bits.
        if (::fchmod(temporary.Get(), mode) != 0) {
            return errno;
        }
        if (const int writeError = WriteAll(temporary.Get(), bytes, calls.write); writeError != 0) {
            return writeError;
        }
        // The data reach the disk before the name does: a power cut after the rename must not
        // find an empty file under it.
        if (calls.fsync(temporary.Get()) != 0) {
            return errno;
        }
        if (const int closeError = temporary.Close(); closeError != 0) {
            return closeError;
        }
        if (exists && status.st_nlink > 1) {
            if (const int overwriteError = OverwriteInPlace(path, bytes, calls, overwriting);
                overwriteError != 0) {
                return overwriteError;
            }
            ::unlink(temporaryName.c_str());
            return SyncFolder(path, calls);
        }
        if (calls.rename(temporaryName.c_str(), path.c_str()) != 0) {
            return errno;
        }
        return SyncFolder(path, calls);
    }();
    if (error != 0) {
        if (!overwriting) {
            ::unlink(temporaryName.c_str());
        }
        ThrowFileError(error, path);
    }
}

} // namespace orbeta
