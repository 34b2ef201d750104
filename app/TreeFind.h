#pragma once
// Find in the options tree: the tree filtered to the settings whose label or
// value holds a text, with the actions (roots) and groups above them, and
// stepping through those settings. Ending shows the whole tree again with the
// expansion and current item it had when find began.
//
// Every label and value is indexed once (CTextIndex) and again only when the
// tree changes; a keystroke searches the index and touches only the rows
// whose hidden state changes.

#include "script/find/TextFinder.h"
#include "script/find/TextIndex.h"

#include <QObject>
#include <QSet>

#include <vector>

class CTreeOptionsCtrl;
class QTreeWidgetItem;

class CTreeFind : public QObject
{
    Q_OBJECT
public:
    explicit CTreeFind(CTreeOptionsCtrl &tree, QObject *parent = nullptr);

    // Remembers the tree's expansion and current item.
    void Begin();
    // Filters the tree to the settings holding `text` (case ignored, `/` as
    // `\`); an empty text shows the whole tree as it was at Begin.
    void SetText(const QString &text);
    // The whole tree again, expanded and current as at Begin.
    void End();
    bool IsActive() const { return m_bActive; }

    // The tree changed: the index is made again and the filter applied anew.
    void Refresh();

    // Makes the next match after the current item current (the previous one
    // before it), wrapping round; false when there is none.
    bool Step(bool forward);

    int MatchCount() const { return int(m_matches.size()); }
    int ActionCount() const { return m_nActions; }
    // "12 matches in 5 actions", "1 match in 1 action", "No matches".
    QString Summary() const;
    // True for a setting whose label or value holds the text.
    bool IsMatch(const QTreeWidgetItem *item) const;
    // Branches are opened to show the matches only while that shows at most
    // this many rows (10,000); beyond, F3 opens each branch it steps into.
    void SetOpenRowLimit(size_t rows) { m_nOpenRows = rows; }

signals:
    // The matches changed.
    void Changed();

private:
    void Index();
    void Apply();
    void ShowAll();
    void SetHidden(size_t entry, bool hidden);
    // A branch opened or closed: by the user, or by F3 showing a match.
    void Opened(QTreeWidgetItem *item, bool open);

    CTreeOptionsCtrl &m_tree;
    bool m_bActive = false;
    bool m_bStale = true;
    bool m_bApplying = false;
    QString m_strText;
    CTextFinder m_finder;
    CTextIndex m_index;
    // By entry, in the tree's order (depth first): the item, its parent's
    // entry (-1 for a root), whether it is a setting, and whether find hid it.
    std::vector<QTreeWidgetItem *> m_items;
    std::vector<int> m_parents;
    std::vector<char> m_settings;
    std::vector<char> m_hidden;
    std::vector<char> m_depths;
    std::vector<char> m_open;   // expanded
    std::vector<char> m_opened; // expanded by find, not by the user
    std::vector<char> m_shown;  // a match or above one
    std::vector<int> m_matches; // entries, ascending
    int m_nActions = 0;
    size_t m_nOpenRows = 10000;
    QSet<const QTreeWidgetItem *> m_expandedBefore;
    QTreeWidgetItem *m_pCurrentBefore = nullptr;
};
