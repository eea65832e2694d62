#include "files/RecoveryCopy.h"

#include "files/FileAccess.h"
#include "study/Error.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <limits>
#include <utility>

namespace orbeta {

namespace {

constexpr std::string_view kFirstLine = "ORBETA recovery copy 1";
constexpr std::string_view kNoIdentity = "-";
constexpr std::string_view kCopyExtension = ".recovery";
constexpr std::string_view kLockExtension = ".lock";
// Far beyond any copy of a study the grid can hold.
constexpr std::size_t kMaxCopyBytes = 8 << 20;

const char* const kDamaged = "La copia de recuperación está dañada.";

// A text on one line: the backslash and the line breaks escaped.
void AppendLine(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    out += '\n';
}

class LineReader {
public:
    explicit LineReader(std::string_view bytes) : m_rest(bytes) {}

    std::string Text() {
        const std::size_t end = m_rest.find('\n');
        if (end == std::string_view::npos) {
            throw Error(kDamaged);
        }
        std::string text;
        for (std::size_t at = 0; at < end; ++at) {
            if (m_rest[at] != '\\') {
                text += m_rest[at];
                continue;
            }
            if (++at == end) {
                throw Error(kDamaged);
            }
            const char escaped = m_rest[at];
            text += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped;
        }
        m_rest.remove_prefix(end + 1);
        return text;
    }

    long long Number(long long lowest, long long highest) {
        const std::string text = Text();
        long long value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
            value > highest) {
            throw Error(kDamaged);
        }
        return value;
    }

    bool AtEnd() const { return m_rest.empty(); }
    // The next line as it stands, not taken.
    std::string_view Peek() const { return m_rest.substr(0, m_rest.find('\n')); }

private:
    std::string_view m_rest;
};

std::filesystem::path LockOf(const std::filesystem::path& copy) {
    std::filesystem::path lock = copy;
    lock.replace_extension(kLockExtension);
    return lock;
}

// The lock of a copy, held; -1 when another running program holds it or it cannot be made.
int HoldLock(const std::filesystem::path& copy) {
    const int lock = ::open(LockOf(copy).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0) {
        return -1;
    }
    if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock);
        return -1;
    }
    return lock;
}

} // namespace

std::string RecoveryCopyBytes(const RecoveryCopy& copy) {
    std::string out;
    AppendLine(out, kFirstLine);
    AppendLine(out, copy.studyFile);
    if (const std::optional<FileIdentity>& identity = copy.fileIdentity) {
        for (const long long number :
             {static_cast<long long>(identity->device), static_cast<long long>(identity->inode),
              static_cast<long long>(identity->size), identity->modifiedNanoseconds}) {
            AppendLine(out, std::to_string(number));
        }
    } else {
        AppendLine(out, kNoIdentity);
    }
    AppendLine(out, std::to_string(copy.takenAt));
    const Study& study = copy.study;
    for (const std::string* field : {&study.methodName, &study.date, &study.analystCount,
                                     &study.dayCount, &study.replicateCount}) {
        AppendLine(out, *field);
    }
    AppendLine(out, std::to_string(study.gridColumns));
    AppendLine(out, std::to_string(study.gridRows));
    for (int column = 0; column < study.gridColumns; ++column) {
        for (int row = 0; row < study.gridRows; ++row) {
            AppendLine(out, study.Cell(column, row));
        }
    }
    return out;
}

RecoveryCopy ParseRecoveryCopy(std::string_view bytes) {
    LineReader lines(bytes);
    if (lines.Text() != kFirstLine) {
        throw Error(kDamaged);
    }
    RecoveryCopy copy;
    copy.studyFile = lines.Text();
    if (lines.Peek() == kNoIdentity) {
        lines.Text();
    } else {
        constexpr long long kAny = std::numeric_limits<long long>::max();
        FileIdentity identity;
        identity.device = static_cast<dev_t>(lines.Number(0, kAny));
        identity.inode = static_cast<ino_t>(lines.Number(0, kAny));
        identity.size = static_cast<off_t>(lines.Number(0, kAny));
        identity.modifiedNanoseconds = lines.Number(std::numeric_limits<long long>::min(), kAny);
        copy.fileIdentity = identity;
    }
    copy.takenAt = lines.Number(0, std::numeric_limits<long long>::max());
    Study& study = copy.study;
    for (std::string* field : {&study.methodName, &study.date, &study.analystCount, &study.dayCount,
                               &study.replicateCount}) {
        *field = lines.Text();
    }
    study.gridColumns = static_cast<int>(lines.Number(1, kMaxAnalysts + 1));
    study.gridRows = static_cast<int>(lines.Number(1, kMaxResultsPerAnalyst + 1));
    for (int column = 0; column < study.gridColumns; ++column) {
        for (int row = 0; row < study.gridRows; ++row) {
            study.SetCell(column, row, lines.Text());
        }
    }
    if (!lines.AtEnd()) {
        throw Error(kDamaged);
    }
    return copy;
}

std::filesystem::path RecoveryFolder(const char* stateHome, const char* home) {
    if (stateHome && std::filesystem::path(stateHome).is_absolute()) {
        return std::filesystem::path(stateHome) / "orbeta";
    }
    return std::filesystem::path(home ? home : "") / ".local" / "state" / "orbeta";
}

RecoverySlot RecoverySlot::Create(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw Error(FileErrorMessage(error.value(), folder / "x"));
    }
    ::chmod(folder.c_str(), 0700);
    // Named by this program and a count of its studies, so that two running programs, or two
    // studies of one program, never share a slot.
    static std::atomic<int> studies = 0;
    const std::string stem = std::to_string(::getpid()) + "-" + std::to_string(std::time(nullptr)) +
                             "-" + std::to_string(++studies);
    const std::filesystem::path copy = folder / (stem + std::string(kCopyExtension));
    const int lock = HoldLock(copy);
    if (lock < 0) {
        throw Error(FileErrorMessage(errno == EWOULDBLOCK ? EBUSY : errno, copy));
    }
    return {copy, lock};
}

std::vector<RecoverySlot> RecoverySlot::ClaimLeftBehind(const std::filesystem::path& folder) {
    std::vector<std::pair<std::filesystem::file_time_type, std::filesystem::path>> copies;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code timeError;
        const auto written = entry->last_write_time(timeError);
        if (entry->path().extension() == kCopyExtension && !timeError) {
            copies.emplace_back(written, entry->path());
        }
    }
    std::sort(copies.begin(), copies.end());
    std::vector<RecoverySlot> slots;
    for (const auto& [written, copy] : copies) {
        if (const int lock = HoldLock(copy); lock >= 0) {
            slots.push_back(RecoverySlot(copy, lock));
        }
    }
    return slots;
}

RecoverySlot::RecoverySlot(RecoverySlot&& other) noexcept
    : m_copy(std::move(other.m_copy)), m_lock(std::exchange(other.m_lock, -1)) {}

RecoverySlot& RecoverySlot::operator=(RecoverySlot&& other) noexcept {
    if (this != &other) {
        if (m_lock >= 0) {
            ::close(m_lock);
        }
        m_copy = std::move(other.m_copy);
        m_lock = std::exchange(other.m_lock, -1);
    }
    return *this;
}

RecoverySlot::~RecoverySlot() {
    if (m_lock < 0) {
        return;
    }
    // An empty slot's lock goes with it; while the slot lives, the lock stays, so that no other
    // program takes a copy written after a Remove for one it may recover.
    struct stat status {};
    if (::stat(m_copy.c_str(), &status) != 0 && errno == ENOENT) {
        ::unlink(LockOf(m_copy).c_str());
    }
    ::close(m_lock);
}

void RecoverySlot::Write(const RecoveryCopy& copy) const {
    ReplaceFile(m_copy, RecoveryCopyBytes(copy));
}

RecoveryCopy RecoverySlot::Read() const {
    return ParseRecoveryCopy(ReadWholeFile(m_copy, kMaxCopyBytes, kDamaged));
}

void RecoverySlot::Remove() const {
    ::unlink(m_copy.c_str());
}

} // namespace orbeta
