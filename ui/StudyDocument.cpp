#include "ui/StudyDocument.h"

#include "study/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <ctime>
#include <utility>

namespace orbeta {

namespace {

const QString kNeverSaved = QStringLiteral("Nuevo");

} // namespace

StudyFileName FileNameOf(const QString& shown) {
    std::filesystem::path native(QFile::encodeName(shown).toStdString());
    std::error_code error;
    if (!shown.contains(QChar::ReplacementCharacter) || std::filesystem::exists(native, error)) {
        return {native, shown};
    }
    const QFileInfo info(shown);
    const StudyFileName folder = FileNameOf(info.path());
    std::optional<std::filesystem::path> match;
    for (std::filesystem::directory_iterator entry(folder.native, error), end;
         !error && entry != end; entry.increment(error)) {
        if (QFile::decodeName(entry->path().filename().c_str()) != info.fileName()) {
            continue;
        }
        if (match) {
            // Two names that show alike: neither can be told to be the one meant.
            return {native, shown};
        }
        match = entry->path();
    }
    return {match.value_or(native), shown};
}

StudyFileName FileNameOf(const std::filesystem::path& native) {
    return {native, QFile::decodeName(native.c_str())};
}

StudyDocument::StudyDocument(QObject* parent)
    : QObject(parent), m_saveName{std::filesystem::path(kNeverSaved.toStdString()), kNeverSaved} {
    m_recoveryTimer.setSingleShot(true);
    m_recoveryTimer.setInterval(kRecoveryDelay);
    connect(&m_recoveryTimer, &QTimer::timeout, this, &StudyDocument::WriteRecoveryCopyNow);
}

StudyDocument::~StudyDocument() = default;

void StudyDocument::BeginNew() {
    SetFile(std::nullopt);
    m_knownFile.reset();
    m_knownIdentity.reset();
    m_fileFingerprint.reset();
    SetMark(Mark::Unchanged);
}

void StudyDocument::BeginFromFile(const StudyFileName& file, const DataFingerprint& fingerprint) {
    SetFile(file);
    m_knownFile = file.native;
    m_knownIdentity = IdentityOf(file.native);
    m_fileFingerprint = fingerprint;
    m_saveName = file;
    SetMark(Mark::Unchanged);
}

QString StudyDocument::Caption() const {
    return m_file ? m_file->shown : kNeverSaved;
}

QString StudyDocument::MarkText() const {
    switch (m_mark) {
    case Mark::Modified:
        return QStringLiteral("Modificado");
    case Mark::Closed:
        return QStringLiteral(" ");
    case Mark::Unchanged:
        break;
    }
    return {};
}

void StudyDocument::NoteChange() {
    SetMark(Mark::Modified);
    if (m_recoveryFolder) {
        m_recoveryTimer.start();
    }
}

void StudyDocument::Saved(const StudyFileName& file, const DataFingerprint& fingerprint) {
    SetFile(file);
    m_knownFile = file.native;
    m_knownIdentity = IdentityOf(file.native);
    m_fileFingerprint = fingerprint;
    SetMark(Mark::Unchanged);
    RemoveRecoveryCopy();
}

DataFingerprint StudyDocument::FingerprintOf(const Study& study, char decimalSeparator) const {
    if (m_fileFingerprint && m_mark == Mark::Unchanged) {
        return *m_fileFingerprint;
    }
    return FingerprintOfUnsavedStudy(study, decimalSeparator);
}

void StudyDocument::Discard() {
    RemoveRecoveryCopy();
}

void StudyDocument::Close() {
    SetStudySource(nullptr, nullptr);
    // A study closed keeps no copy: it was saved, or the close question was answered.
    RemoveRecoveryCopy();
    SetMark(Mark::Closed);
}

bool StudyDocument::ChangedOnDisk(const std::filesystem::path& path) const {
    if (!m_knownFile || *m_knownFile != path) {
        return false;
    }
    const std::optional<FileIdentity> now = IdentityOf(path);
    return now && now != m_knownIdentity;
}

void StudyDocument::SetStudySource(std::function<Study()> snapshot, std::function<bool()> checks) {
    m_source = std::move(snapshot);
    m_checks = std::move(checks);
}

std::optional<Study> StudyDocument::CheckedStudy() const {
    if (!m_source || !m_checks()) {
        return std::nullopt;
    }
    return m_source();
}

void StudyDocument::WriteRecoveryCopyNow() {
    m_recoveryTimer.stop();
    if (!m_recoveryFolder || !m_source || !IsModified()) {
        return;
    }
    try {
        if (!m_recoverySlot) {
            m_recoverySlot = RecoverySlot::Create(*m_recoveryFolder);
        }
        m_recoverySlot->Write({m_file ? m_file->native.string() : std::string(),
                               m_file ? m_knownIdentity : std::nullopt, std::time(nullptr),
                               m_source()});
    } catch (const Error&) {
        // A copy that cannot be written costs the user nothing now; the study itself is
        // untouched, and the next change tries again.
    }
}

void StudyDocument::Recovered(RecoverySlot slot, const std::optional<StudyFileName>& file,
                              const std::optional<FileIdentity>& identity) {
    SetFile(file);
    if (file) {
        m_saveName = *file;
        m_knownFile = file->native;
        m_knownIdentity = identity;
    }
    // The copy's study is not its file's bytes, which this run never read.
    m_fileFingerprint.reset();
    m_recoverySlot = std::move(slot);
    SetMark(Mark::Modified);
}

void StudyDocument::SetMark(Mark mark) {
    if (mark == m_mark) {
        return;
    }
    m_mark = mark;
    emit MarkChanged(MarkText());
}

void StudyDocument::SetFile(const std::optional<StudyFileName>& file) {
    m_file = file;
    emit CaptionChanged(Caption());
}

void StudyDocument::RemoveRecoveryCopy() {
    m_recoveryTimer.stop();
    if (m_recoverySlot) {
        m_recoverySlot->Remove();
        m_recoverySlot.reset();
    }
}

} // namespace orbeta
