#pragma once
// Keeps the unsaved edits of the script being edited in its recovery file
// (CRecoveryFile), so that they survive a crash of the editor or the machine:
// written within a second or two of an edit while the edit history is away
// from its clean point, removed when it returns there (a save, an undo back
// to the saved script) and when the edits are thrown away. Opening a script,
// it offers the edits that editors which ended left for it (CRecoveryOffer).
// The files are written and removed on a thread of their own, in order, so
// typing never waits for the disk.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

class CEditHistory;
class CRecoveryFile;
class CScriptWriter;
class CSynchArray;
class CTreeOptionsCtrl;

class CRecoveryKeeper : public QObject
{
    Q_OBJECT
public:
    // How long after an edit its recovery file is written at the latest
    // (edits made meanwhile go with it).
    static constexpr int kDelayMs = 1000;
    // Roots written between two looks at the user's events.
    static constexpr int kRootsPerSlice = 100;

    // `document` gives the script as opened or saved, which the tree's edits
    // are written over (the lines the tree does not show, the encoding).
    CRecoveryKeeper(CTreeOptionsCtrl &tree, CEditHistory &history, std::function<const CSynchArray &()> document,
                    QObject *parent = nullptr);
    // Edits not written yet are written: an editor that ends without its
    // edits being saved or discarded leaves them for the next one.
    ~CRecoveryKeeper() override;

    // A script was loaded or started at `path` (empty: a new script never
    // saved) with a clean history: the edits editors that ended left for it
    // are offered. A recovery file of this editor's own is made with the
    // first edit to keep.
    void Open(const QString &path);
    // The script was saved as `path`: edits are kept for that path from now on.
    void Saved(const QString &path);
    // The unsaved edits are thrown away: the editor closes without them.
    void Discard();

    // The recovery file this editor writes; empty before the first.
    QString FilePath() const;

private:
    void HistoryChanged();
    void StartWriting();
    void WriteSlice();
    void StopWriting();
    // This editor's recovery file, taken with the first edit to keep; false
    // (the user told once) when there can be none.
    bool TakeSlot();
    // Writes `text`, the tree as Save would write it, on the disk thread.
    void Queue(QString text);
    void Remove();
    // Keeps edits for the script at `path` from now on.
    void Follow(const QString &path);
    void Failed(const QString &cause);

    CTreeOptionsCtrl &m_tree;
    CEditHistory &m_history;
    std::function<const CSynchArray &()> m_document;
    QString m_strPath;
    QByteArray m_fullPath;
    // Shared with the jobs on the disk thread: the slot goes once the last is done.
    std::shared_ptr<CRecoveryFile> m_file;
    QTimer m_timer;
    // The text being written: the writer, the next root, the text so far,
    // and the edits counted when it began (an edit since abandons it).
    QTimer m_slice;
    std::unique_ptr<CScriptWriter> m_writer;
    const CSynchArray *m_pWriterDocument = nullptr;
    int m_nNextRoot = 0;
    QString m_strText;
    int m_nEdits = 0;
    int m_nWriterEdits = 0;
    QThreadPool m_disk;
    // The number of the last job asked for: an older write is not done.
    std::shared_ptr<std::atomic<int>> m_lastJob = std::make_shared<std::atomic<int>>(0);
    bool m_bOnDisk = false;
    bool m_bToldFailure = false;
};
