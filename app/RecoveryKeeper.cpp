#include "app/RecoveryKeeper.h"

#include "app/EditHistory.h"
#include "app/RecoveryFile.h"
#include "app/RecoveryOffer.h"
#include "framework/Clock.h"
#include "framework/FileName.h"
#include "framework/ModalUi.h"
#include "script/SynchArray.h"
#include "scripttree/ScriptEncoder.h"
#include "scripttree/ScriptWriter.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QCoreApplication>
#include <QPointer>

#include <utility>

CRecoveryKeeper::CRecoveryKeeper(CTreeOptionsCtrl &tree, CEditHistory &history,
                                 std::function<const CSynchArray &()> document, QObject *parent)
    : QObject(parent)
    , m_tree(tree)
    , m_history(history)
    , m_document(std::move(document))
{
    m_disk.setMaxThreadCount(1);
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &CRecoveryKeeper::StartWriting);
    m_slice.setSingleShot(true);
    connect(&m_slice, &QTimer::timeout, this, &CRecoveryKeeper::WriteSlice);
    connect(&history, &CEditHistory::Changed, this, &CRecoveryKeeper::HistoryChanged);
}

CRecoveryKeeper::~CRecoveryKeeper()
{
    if ((m_timer.isActive() || m_writer) && !m_history.IsClean() && TakeSlot()) {
        StopWriting();
        Queue(CScriptWriter(m_document(), m_tree).ScriptText());
    }
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
        const RecoveryAnswer answer = CRecoveryOffer(m_tree, m_history, m_document(), path).Offer(left.contents);
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
    if (CRecoveryFile::FullPath(FileNameBytes(path).value_or(QByteArray())) != m_fullPath)
        Follow(path);
}

void CRecoveryKeeper::Discard()
{
    m_timer.stop();
    StopWriting();
    Remove();
}

void CRecoveryKeeper::Follow(const QString &path)
{
    m_file.reset(); // let go once the jobs queued for it are done
    m_strPath = path;
    m_fullPath = CRecoveryFile::FullPath(FileNameBytes(path).value_or(QByteArray()));
    m_bToldFailure = false;
}

void CRecoveryKeeper::HistoryChanged()
{
    ++m_nEdits;
    if (m_history.IsClean()) {
        StopWriting();
        m_timer.stop();
        Remove();
    } else if (!m_timer.isActive()) {
        m_timer.start();
    }
}

void CRecoveryKeeper::StartWriting()
{
    StopWriting();
    if (m_history.IsClean() || !TakeSlot())
        return;
    // The text is written here, where the tree lives, a slice of roots at a
    // time between the user's events; the bytes and the disk are left to the
    // thread.
    m_pWriterDocument = &m_document();
    m_writer = std::make_unique<CScriptWriter>(*m_pWriterDocument, m_tree);
    m_writer->Begin();
    m_nNextRoot = 0;
    m_nWriterEdits = m_nEdits;
    WriteSlice();
}

bool CRecoveryKeeper::TakeSlot()
{
    if (m_file)
        return true;
    // The slot is taken with the first edit to keep, like the folder.
    CRecoveryFile::Claim claim = CRecoveryFile::ClaimSlots(m_fullPath, true);
    if (!claim.own) {
        Failed(claim.cause);
        return false;
    }
    m_file = std::move(claim.own);
    return true;
}

void CRecoveryKeeper::StopWriting()
{
    m_slice.stop();
    m_writer.reset();
    m_strText.clear();
}

void CRecoveryKeeper::WriteSlice()
{
    if (m_nWriterEdits != m_nEdits || m_pWriterDocument != &m_document()) {
        StopWriting(); // the change has started the timer again
        return;
    }
    m_writer->WriteRoots(m_nNextRoot, kRootsPerSlice);
    m_strText += m_writer->TakeText();
    m_nNextRoot += kRootsPerSlice;
    if (m_nNextRoot < m_tree.topLevelItemCount()) {
        m_slice.start(0);
        return;
    }
    m_strText += m_writer->End();
    QString text = std::exchange(m_strText, QString());
    StopWriting();
    Queue(std::move(text));
}

void CRecoveryKeeper::Queue(QString text)
{
    const int job = ++*m_lastJob;
    m_bOnDisk = true;
    m_disk.start([file = m_file, lastJob = m_lastJob, job, path = m_fullPath, written = Clock().NowUtc(),
                  encoding = m_document().m_ScriptFile.Encoding(), text = std::move(text),
                  self = QPointer<CRecoveryKeeper>(this)] {
        if (*lastJob != job)
            return; // a newer write or a removal follows
        // As Save encodes: ANSI that the code page cannot hold becomes UTF-16LE.
        CScriptEncoder encoder(encoding);
        if (!encoder.Append(text)) {
            encoder = CScriptEncoder(ScriptEncoding::Utf16Le);
            encoder.Append(text);
        }
        QString cause;
        if (!file->Write({path, written, encoder.TakeBytes()}, cause))
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
    const QString script = m_strPath.isEmpty() ? QStringLiteral("the new script") : ShownFileName(m_strPath);
    ModalUi().ShowMessage(QStringLiteral("The unsaved edits of %1 cannot be kept for recovery after a crash.\n%2\n"
                                         "Save your work to keep it.")
                              .arg(script, cause));
}
