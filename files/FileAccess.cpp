#include "files/FileAccess.h"

#include "study/Error.h"

#include <algorithm>
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
int WriteAll(int descriptor, std::string_view bytes, const WriteSome& writeSome) {
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

void ReplaceFile(const std::filesystem::path& path, std::string_view bytes) {
    ReplaceFile(path, bytes, [](int descriptor, std::string_view some) {
        return ::write(descriptor, some.data(), some.size());
    });
}

void ReplaceFile(const std::filesystem::path& requestedPath, std::string_view bytes,
                 const WriteSome& writeSome) {
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
    if (::stat(path.c_str(), &status) == 0) {
        // Checked on the permission bits rather than by trying, so that a read-only file is
        // refused for every user, the administrator included.
        if (S_ISDIR(status.st_mode) || (status.st_mode & S_IWUSR) == 0) {
            ThrowFileError(EACCES, path);
        }
        mode = status.st_mode & 07777;
    } else if (errno != ENOENT) {
        ThrowFileError(errno, path);
    }

    std::string temporaryName = (FolderOf(path) / ("." + path.filename().string() + ".XXXXXX"));
    Descriptor temporary(::mkstemp(temporaryName.data()));
    if (temporary.Get() < 0) {
        ThrowFileError(errno, path);
    }
    const int error = [&] {
        if (::fchmod(temporary.Get(), mode) != 0) {
            return errno;
        }
        if (const int writeError = WriteAll(temporary.Get(), bytes, writeSome); writeError != 0) {
            return writeError;
        }
        if (const int closeError = temporary.Close(); closeError != 0) {
            return closeError;
        }
        return ::rename(temporaryName.c_str(), path.c_str()) == 0 ? 0 : errno;
    }();
    if (error != 0) {
        ::unlink(temporaryName.c_str());
        ThrowFileError(error, path);
    }
}

} // namespace orbeta
