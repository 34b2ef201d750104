#include "app/RecoveryKeeper.h"

#include "app/EditHistory.h"
#include "app/RecoveryFile.h"
#include "app/RecoveryOffer.h"
#include "framework/Clock.h"
#include "framework/ModalUi.h"
#include "script/SynchArray.h"
#include "script/tree/ScriptSaver.h"
#include "script/tree/ScriptWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>

CRecoveryKeeper::CRecoveryKeeper(CTreeOptionsCtrl &tree, CEditHistory &history,
                                 std::function<const CSynchArray &()> document, QObject *parent)
    : QObject(parent), m_tree(tree), m_history(history), m_document(std::move(document))
{
    m_disk.setMaxThreadCount(1);
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &CRecoveryKeeper::WriteNow);
    connect(&history, &CEditHistory::Changed, this, &CRecoveryKeeper::HistoryChanged);
}

CRecoveryKeeper::~CRecoveryKeeper()
{
    if (m_timer.isActive())
        WriteNow();
    m_disk.waitForDone();
}

QString CRecoveryKeeper::FilePath() const
{
    return m_file ? m_file->Path() : QString();
}

void CRecoveryKeeper::Open(const QString &path)
{
    Remove();
    Follow(path);
    CRecoveryFile::Claim claim = CRecoveryFile::ClaimSlots(m_fullPath, false);
    for (CRecoveryFile::Left &left : claim.left) {
        const RecoveryAnswer answer =
            CRecoveryOffer(m_tree, m_history, m_document(), path).Offer(left.contents);
        if (answer == RecoveryAnswer::Later)
            continue; // its file stays for the next editor
        if (answer == RecoveryAnswer::Discard) {
            left.file->Remove();
            continue;
        }
        // Its file is this editor's now, written again with the next edit.
        m_file = std::move(left.file);
        m_bOnDisk = true;
        break;
    }
}

void CRecoveryKeeper::Saved(const QString &path)
{
    Remove();
    if (CRecoveryFile::FullPath(QFile::encodeName(path)) != m_fullPath)
        Follow(path);
}

void CRecoveryKeeper::Discard()
{
    m_timer.stop();
    Remove();
}

void CRecoveryKeeper::Follow(const QString &path)
{
    m_file.reset(); // let go once the jobs queued for it are done
    m_strPath = path;
    m_fullPath = CRecoveryFile::FullPath(QFile::encodeName(path));
    m_bToldFailure = false;
}

void CRecoveryKeeper::HistoryChanged()
{
    if (m_history.IsClean()) {
        m_timer.stop();
        Remove();
    } else if (!m_timer.isActive()) {
        m_timer.start();
    }
}

void CRecoveryKeeper::WriteNow()
{
    m_timer.stop();
    if (m_history.IsClean())
        return;
    if (!m_file) {
        // The slot is taken with the first edit to keep, like the folder.
        CRecoveryFile::Claim claim = CRecoveryFile::ClaimSlots(m_fullPath, true);
        if (!claim.own) {
            Failed(claim.cause);
            return;
        }
        m_file = std::move(claim.own);
    }
    // The bytes Save would write, made here, where the tree lives; the disk
    // is left to the thread.
    const CSynchArray &document = m_document();
    CScriptWriter writer(document, m_tree);
    bool becameUnicode = false;
    RecoveryContents contents{m_fullPath, Clock().NowUtc(),
                              CScriptSaver::EncodeScript(writer, document.m_ScriptFile.Encoding(), becameUnicode)};
    const int job = ++*m_lastJob;
    m_bOnDisk = true;
    m_disk.start([file = m_file, lastJob = m_lastJob, job, contents = std::move(contents),
                  self = QPointer<CRecoveryKeeper>(this)] {
        if (*lastJob != job)
            return; // a newer write or a removal follows
        QString cause;
        if (!file->Write(contents, cause))
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, cause] {
                    if (self)
                        self->Failed(cause);
                },
                Qt::QueuedConnection);
    });
}

void CRecoveryKeeper::Remove()
{
    if (!m_bOnDisk || !m_file)
        return;
    ++*m_lastJob;
    m_bOnDisk = false;
    m_disk.start([file = m_file] { file->Remove(); });
}

void CRecoveryKeeper::Failed(const QString &cause)
{
    if (m_bToldFailure)
        return;
    m_bToldFailure = true;
    const QString script = m_strPath.isEmpty() ? QStringLiteral("the new script") : QDir::toNativeSeparators(m_strPath);
    ModalUi().ShowMessage(QStringLiteral("The unsaved edits of %1 cannot be kept for recovery after a crash.\n%2\n"
                                         "Save your work to keep it.")
                              .arg(script, cause));
}
