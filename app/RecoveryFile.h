#pragma once
// The recovery file of a script with unsaved edits: what it holds, where it
// lives, and the lock that makes it one editor's own.
//
// The files live in `$XDG_STATE_HOME/marrowpad/` (`~/.local/state/marrowpad/`
// when that is not set), a folder only its owner may enter. A script has a few
// slots there, one per editor that has it open: `NAME-HASH-N.recovery` (0600)
// beside `NAME-HASH-N.lock`, NAME and HASH from the script's full path, or
// `new-script-N` for a script never saved. An editor holds the lock of its
// slot (flock) for as long as it has the script open; the kernel drops the
// lock however the editor ends, so a recovery file whose lock is free was left
// by an editor that is gone, and one whose lock is held is never touched.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

struct RecoveryContents
{
    // The script's full path, as bytes; empty for a new script never saved.
    QByteArray scriptPath;
    // When it was written (UTC).
    QDateTime written;
    // The script as Save would have written it.
    QByteArray script;

    bool operator==(const RecoveryContents &) const = default;
};

class CRecoveryFile
{
public:
    // How many editors can keep edits of one script at once.
    static constexpr int kSlots = 32;

    ~CRecoveryFile();
    CRecoveryFile(const CRecoveryFile &) = delete;
    CRecoveryFile &operator=(const CRecoveryFile &) = delete;

    // The bytes of a recovery file, and back; nothing when `bytes` are not a
    // whole recovery file.
    static QByteArray Format(const RecoveryContents &contents);
    static std::optional<RecoveryContents> Parse(const QByteArray &bytes);

    // The folder of the recovery files; empty when there is no home folder.
    static QString Folder();
    // The script path as recovery files record it: absolute, with its
    // folders' links resolved, so every way of naming a file gives one name.
    static QByteArray FullPath(const QByteArray &path);

    // A recovery file left by an editor that ended, locked by this one now.
    struct Left
    {
        std::unique_ptr<CRecoveryFile> file;
        RecoveryContents contents;
    };
    // What ClaimSlots finds for a script: the recovery files other editors
    // left for it, newest first, and when asked a slot of this editor's own
    // (none, with the cause, when the folder cannot be used or every slot is
    // taken).
    struct Claim
    {
        std::vector<Left> left;
        std::unique_ptr<CRecoveryFile> own;
        QString cause;
    };
    // `fullPath` as FullPath gives it; empty for a new script. Only `takeOwn`
    // makes the folder when it is missing.
    static Claim ClaimSlots(const QByteArray &fullPath, bool takeOwn);

    QString Path() const;
    // Puts `contents` in the file, atomically and readable by its owner
    // only; false with `cause`.
    bool Write(const RecoveryContents &contents, QString &cause) const;
    // Deletes the file, if there is one; the slot stays this editor's.
    void Remove() const;

private:
    CRecoveryFile(QString stem, int lockFd) : m_strStem(std::move(stem)), m_nLockFd(lockFd) {}
    // The slot `stem` locked by this process, or null when another holds it.
    static std::unique_ptr<CRecoveryFile> Lock(const QString &stem, QString &cause);

    QString m_strStem; // the folder and the slot's name, without ending
    int m_nLockFd;
};
