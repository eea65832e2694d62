#pragma once

#include "files/FileAccess.h"
#include "files/Fingerprint.h"
#include "files/RecoveryCopy.h"
#include "study/Study.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <optional>

namespace orbeta {

// A file name twice: as the system spells it (bytes that need not be UTF-8) and as the windows
// show it.
struct StudyFileName {
    std::filesystem::path native;
    QString shown;
};

// The name of a file as a window or a dialog gives it, as the system spells it: encoded, or,
// when the encoding names nothing (a name that is not valid UTF-8 comes back from the dialog
// with replacement characters), the one entry of its folder that shows as the same name.
StudyFileName FileNameOf(const QString& shown);
// A name from the command line, whose bytes are the system's own.
StudyFileName FileNameOf(const std::filesystem::path& native);

// The study of the capture window as a document: the file it came from or was saved to, the
// save name, whether it holds unsaved changes (the modified mark), the identity of its file as
// it was last read or written, and its recovery copy. The study's texts stand in the capture
// window's controls, which hand the document a way to read them; the windows draw the mark and
// the caption from the document's signals. There is one for the program's whole run, as there is
// one capture window at a time.
class StudyDocument final : public QObject {
    Q_OBJECT

public:
    // "Modificado": unsaved changes; " ": the capture window closed; "": saved or unchanged.
    enum class Mark { Unchanged, Modified, Closed };

    explicit StudyDocument(QObject* parent = nullptr);
    ~StudyDocument() override;

    // A new study, never saved, or one read from `file`, unchanged, whose bytes as read have
    // `fingerprint`.
    void BeginNew();
    void BeginFromFile(const StudyFileName& file, const DataFingerprint& fingerprint);

    // Whether the study was never saved: its caption is "Nuevo".
    bool IsNew() const { return !m_file.has_value(); }
    QString Caption() const;
    // The file of the study, while it has one.
    const std::optional<StudyFileName>& File() const { return m_file; }

    // The name Save writes to and the Save dialog proposes: "Nuevo" at start. It outlives a
    // study: a later Save As proposes it.
    const StudyFileName& SaveName() const { return m_saveName; }
    void SetSaveName(const StudyFileName& name) { m_saveName = name; }

    Mark CurrentMark() const { return m_mark; }
    bool IsModified() const { return m_mark == Mark::Modified; }
    QString MarkText() const;
    void SetMark(Mark mark);
    // A change of the study by the user: the mark becomes "Modificado" and a recovery copy is
    // written a moment after the last change.
    void NoteChange();
    // The study was written to `file` with `fingerprint`, which is now its file: the mark empty,
    // the file's identity and fingerprint remembered, the recovery copy removed.
    void Saved(const StudyFileName& file, const DataFingerprint& fingerprint);

    // What ties a picture of `study`, taken now, to its data: the fingerprint of the file's bytes
    // as opened or last saved while the study is unchanged since; otherwise (modified, or never
    // saved) that of the bytes the program would write for it, marked unsaved. Throws as
    // StudyFileBytes does.
    DataFingerprint FingerprintOf(const Study& study, char decimalSeparator) const;
    // The user chose not to keep the changes: the recovery copy goes.
    void Discard();
    // The capture window closed: the mark is a single blank and the study is no more.
    void Close();

    // Whether the file at `path` is not the one last read or written as the study's file: it
    // was replaced or changed since. A file that is gone, or one the study never had, has not
    // changed.
    bool ChangedOnDisk(const std::filesystem::path& path) const;

    // How the document reads the study's texts and runs the study checks on them: the capture
    // window's snapshot and checks while it is open. A failed check has shown its message.
    void SetStudySource(std::function<Study()> snapshot, std::function<bool()> checks);
    bool HasStudy() const { return static_cast<bool>(m_source); }
    // The study when it passes the study checks, otherwise (or without a study) nothing. Throws
    // Error as the checks do.
    std::optional<Study> CheckedStudy() const;

    // Where recovery copies go; without a folder none is written (the window tests).
    void SetRecoveryFolder(std::filesystem::path folder) { m_recoveryFolder = std::move(folder); }
    const std::optional<std::filesystem::path>& RecoveryFolder() const { return m_recoveryFolder; }
    // Writes the recovery copy now when the study has unsaved changes, as the program ends.
    void WriteRecoveryCopyNow();
    // Takes over a copy left by an earlier run that the user chose to recover: the study is
    // that copy's, modified, and keeps the copy until it is saved or discarded; its file is what
    // the earlier run last knew of it (`identity`), so that a change made since is noticed.
    void Recovered(RecoverySlot slot, const std::optional<StudyFileName>& file,
                   const std::optional<FileIdentity>& identity);

    // Milliseconds between the last change and the recovery copy.
    static constexpr int kRecoveryDelay = 1500;

signals:
    void MarkChanged(const QString& markText);
    void CaptionChanged(const QString& caption);

private:
    void SetFile(const std::optional<StudyFileName>& file);
    void RemoveRecoveryCopy();

    std::optional<StudyFileName> m_file;
    StudyFileName m_saveName;
    Mark m_mark = Mark::Unchanged;
    // The file last read or written as the study's, and what it was then.
    std::optional<std::filesystem::path> m_knownFile;
    std::optional<FileIdentity> m_knownIdentity;
    // Of the study's file as last read or written, while the study is that file's.
    std::optional<DataFingerprint> m_fileFingerprint;
    std::function<Study()> m_source;
    std::function<bool()> m_checks;
    std::optional<std::filesystem::path> m_recoveryFolder;
    std::optional<RecoverySlot> m_recoverySlot;
    QTimer m_recoveryTimer;
};

} // namespace orbeta
