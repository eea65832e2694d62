#pragma once

#include "files/FileAccess.h"
#include "study/Study.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

// What the capture window held a moment ago, kept so that a program ended before its study was
// saved (a logout, a kill, a crash) loses nothing: the study's texts exactly as typed, checked
// or not, and the file it belongs to.
struct RecoveryCopy {
    // The study file's name as the system spells it; empty for a study never saved.
    std::string studyFile;
    // What that file was when the study last read or wrote it, so that a save after the recovery
    // still notices another program's change made meanwhile; nothing when unknown.
    std::optional<FileIdentity> fileIdentity;
    // When the copy was taken, in seconds since 1970.
    long long takenAt = 0;
    Study study;
};

// The bytes of a copy and back: a line of its own for each text, escaped. ParseRecoveryCopy
// throws Error for bytes that are not a whole copy.
std::string RecoveryCopyBytes(const RecoveryCopy& copy);
RecoveryCopy ParseRecoveryCopy(std::string_view bytes);

// The folder of the recovery copies: "orbeta" in the user's state folder, `stateHome`
// ($XDG_STATE_HOME) when it is an absolute path, otherwise ".local/state" in `home`.
std::filesystem::path RecoveryFolder(const char* stateHome, const char* home);

// The place of one study's recovery copy in the recovery folder, held by one running program at
// a time: a lock beside the copy says it is in use, and the system drops the lock when the
// program ends in any way, so a copy whose lock is free was left behind.
class RecoverySlot {
public:
    // A new, empty slot in `folder`, which is made (for this user only) when missing. Throws
    // Error with the folder's message.
    static RecoverySlot Create(const std::filesystem::path& folder);
    // The slots of the copies in `folder` that no running program holds, now held by this one,
    // oldest copy first; nothing for a missing folder.
    static std::vector<RecoverySlot> ClaimLeftBehind(const std::filesystem::path& folder);

    RecoverySlot(RecoverySlot&& other) noexcept;
    RecoverySlot& operator=(RecoverySlot&& other) noexcept;
    RecoverySlot(const RecoverySlot&) = delete;
    RecoverySlot& operator=(const RecoverySlot&) = delete;
    // Lets the slot go and leaves its copy, if any, for the next start.
    ~RecoverySlot();

    // Replaces the copy, atomically. Throws Error with the file's message.
    void Write(const RecoveryCopy& copy) const;
    // The copy held, or Error when it cannot be read.
    RecoveryCopy Read() const;
    // Removes the copy; the slot stays held, and a later Write fills it again.
    void Remove() const;

    const std::filesystem::path& CopyPath() const { return m_copy; }

private:
    RecoverySlot(std::filesystem::path copy, int lock) : m_copy(std::move(copy)), m_lock(lock) {}

    std::filesystem::path m_copy;
    int m_lock = -1;
};

} // namespace orbeta
