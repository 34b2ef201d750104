#pragma once
// Offers the edits a recovery file holds, left by an editor that ended before
// they were saved: says when they were made and what they change against the
// script as it was opened, asks Recover, Discard or Later, and on Recover puts
// them in the tree over that script as one step of the edit history, so that
// Undo returns to the script as saved.

#include <QDateTime>
#include <QString>

class CEditHistory;
class CSynchArray;
class CTreeOptionsCtrl;
struct RecoveryContents;

// The answer to the offer, in the order of its buttons; Later (also Esc)
// leaves the edits for another time.
enum class RecoveryAnswer { Recover, Discard, Later };

class CRecoveryOffer
{
public:
    // `document`: the script as opened, which the tree shows; `name`: the
    // script's path as the user knows it, empty for a new script.
    CRecoveryOffer(CTreeOptionsCtrl &tree, CEditHistory &history, const CSynchArray &document, QString name)
        : m_tree(tree)
        , m_history(history)
        , m_document(document)
        , m_strName(std::move(name))
    {
    }

    // Asks about the edits; on Recover they are in the tree. Edits that change
    // nothing the script does are not asked about and answer Discard.
    RecoveryAnswer Offer(const RecoveryContents &contents);

    // What `edited` changes against `opened`, as the change check compares
    // them: "Default changed, 3 actions changed, 1 action added".
    static QString Changes(const CSynchArray &opened, const CSynchArray &edited);
    // "14:02" for a time of `today` (local), else "2024-05-01 14:02".
    static QString When(const QDateTime &written, const QDate &today);

private:
    bool Recover(const QByteArray &script);

    CTreeOptionsCtrl &m_tree;
    CEditHistory &m_history;
    const CSynchArray &m_document;
    QString m_strName;
};
