#include "app/TreeFind.h"

#include "treeoptions/TreeOptionsCtrl.h"

#include <QAbstractItemModel>

#include <algorithm>

namespace {

QString Label(const QTreeWidgetItem *item)
{
    QString label = CTreeOptionsCtrl::ItemLabel(item);
    if (label.endsWith(QLatin1String(": ")))
        label.chop(2);
    return label;
}

// A row's hidden state set to itself: the view lays itself out once, later,
// so the expansions that follow are noted instead of each laid out at once
// (which costs the whole tree's rows each).
void DelayLayout(CTreeOptionsCtrl &tree)
{
    if (QTreeWidgetItem *first = tree.topLevelItem(0))
        first->setHidden(first->isHidden());
}

} // namespace

CTreeFind::CTreeFind(CTreeOptionsCtrl &tree, QObject *parent) : QObject(parent), m_tree(tree)
{
    QAbstractItemModel *model = tree.model();
    const auto stale = [this] { m_bStale = true; };
    connect(model, &QAbstractItemModel::rowsInserted, this, stale);
    connect(model, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(model, &QAbstractItemModel::rowsMoved, this, stale);
    connect(model, &QAbstractItemModel::modelReset, this, stale);
    connect(&tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) { Opened(item, true); });
    connect(&tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *item) { Opened(item, false); });
}

void CTreeFind::Begin()
{
    m_tree.CommitAndEndEdit();
    m_bActive = true;
    m_bStale = true;
    m_expandedBefore.clear();
    for (QTreeWidgetItemIterator it(&m_tree); *it; ++it)
        if ((*it)->childCount() && (*it)->isExpanded())
            m_expandedBefore.insert(*it);
    m_pCurrentBefore = m_tree.currentItem();
    Index();
}

void CTreeFind::Index()
{
    m_index.Clear();
    m_items.clear();
    m_parents.clear();
    m_settings.clear();
    m_hidden.clear();
    m_opened.clear();
    m_open.clear();
    m_depths.clear();
    m_shown.clear();
    std::vector<int> stack; // entries of the current item's ancestors
    for (QTreeWidgetItemIterator it(&m_tree); *it; ++it) {
        QTreeWidgetItem *item = *it;
        int depth = 0;
        for (const QTreeWidgetItem *up = item->parent(); up; up = up->parent())
            ++depth;
        stack.resize(size_t(depth));
        const bool setting = item->parent() && CTreeOptionsCtrl::GetItemInfo(item);
        const int entry =
            setting ? m_index.Add(Label(item), CTreeOptionsCtrl::GetItemValueText(item)) : m_index.Add({});
        m_items.push_back(item);
        m_parents.push_back(stack.empty() ? -1 : stack.back());
        m_settings.push_back(setting);
        m_hidden.push_back(item->isHidden());
        m_open.push_back(item->childCount() && item->isExpanded());
        m_depths.push_back(char(depth));
        stack.push_back(entry);
    }
    m_opened.assign(m_items.size(), 0);
    m_bStale = false;
}

void CTreeFind::SetText(const QString &text)
{
    m_strText = text;
    m_finder = CTextFinder(text);
    Apply();
}

void CTreeFind::Refresh()
{
    if (!m_bActive)
        return;
    m_bStale = true;
    Apply();
}

void CTreeFind::Apply()
{
    if (m_bStale)
        Index();
    m_matches.clear();
    m_nActions = 0;
    if (m_finder.IsEmpty()) {
        ShowAll();
        emit Changed();
        return;
    }
    for (const int entry : m_index.Matching(m_finder))
        if (m_settings[size_t(entry)])
            m_matches.push_back(entry);
    // Shown: the matches and every item above one.
    const size_t count = m_items.size();
    m_shown.assign(count, 0);
    std::vector<int> above; // items above a match
    for (const int match : m_matches) {
        m_shown[size_t(match)] = 1;
        for (int up = m_parents[size_t(match)]; up >= 0 && !m_shown[size_t(up)]; up = m_parents[size_t(up)]) {
            m_shown[size_t(up)] = 1;
            above.push_back(up);
            m_nActions += m_parents[size_t(up)] < 0;
        }
    }
    const bool updates = m_tree.updatesEnabled();
    m_tree.setUpdatesEnabled(false);
    m_bApplying = true;
    DelayLayout(m_tree);
    // Branches open to show the matches, unless that makes so many rows that
    // no one reads them (a first letter typed): then F3 opens each in turn.
    std::vector<char> wanted(count, 0);
    if (m_matches.size() + above.size() <= m_nOpenRows)
        for (const int entry : above)
            wanted[size_t(entry)] = 1;
    for (size_t i = 0; i < count; ++i) {
        if (wanted[i] && !m_open[i]) {
            m_items[i]->setExpanded(true);
            m_open[i] = m_opened[i] = 1;
        } else if (!wanted[i] && m_opened[i]) {
            m_items[i]->setExpanded(false);
            m_open[i] = m_opened[i] = 0;
        }
    }
    // Only rows that can show now are set; a branch's rows are set when it opens.
    std::vector<char> reached(count, 0);
    for (size_t i = 0; i < count; ++i) {
        const int parent = m_parents[i];
        if (parent >= 0 && !(reached[size_t(parent)] && m_shown[size_t(parent)] && m_open[size_t(parent)]))
            continue;
        reached[i] = 1;
        SetHidden(i, !m_shown[i]);
    }
    m_bApplying = false;
    m_tree.setUpdatesEnabled(updates);
    m_tree.viewport()->update();
    emit Changed();
}

void CTreeFind::SetHidden(size_t entry, bool hidden)
{
    if (bool(m_hidden[entry]) != hidden) {
        m_hidden[entry] = hidden;
        m_items[entry]->setHidden(hidden);
    }
}

void CTreeFind::Opened(QTreeWidgetItem *item, bool open)
{
    if (!m_bActive || m_bApplying || m_bStale)
        return;
    const auto at = std::find(m_items.begin(), m_items.end(), item);
    if (at == m_items.end())
        return;
    const size_t entry = size_t(at - m_items.begin());
    m_open[entry] = open;
    m_opened[entry] = 0; // the user's now
    if (!open || m_shown.size() != m_items.size())
        return;
    // The rows of the branch that can show now, as Apply sets them.
    std::vector<char> reached(m_items.size() - entry, 0);
    reached[0] = 1;
    for (size_t i = entry + 1; i < m_items.size() && m_depths[i] > m_depths[entry]; ++i) {
        const size_t parent = size_t(m_parents[i]);
        if (!(reached[parent - entry] && m_shown[parent] && m_open[parent]))
            continue;
        reached[i - entry] = 1;
        SetHidden(i, !m_shown[i]);
    }
}

void CTreeFind::ShowAll()
{
    const bool updates = m_tree.updatesEnabled();
    m_tree.setUpdatesEnabled(false);
    m_bApplying = true;
    DelayLayout(m_tree);
    m_shown.assign(m_items.size(), 1);
    for (size_t i = 0; i < m_items.size(); ++i) {
        SetHidden(i, false);
        const bool open = m_items[i]->childCount() && m_expandedBefore.contains(m_items[i]);
        if (m_items[i]->childCount() && bool(m_open[i]) != open) {
            m_items[i]->setExpanded(open);
            m_open[i] = open;
        }
        m_opened[i] = 0;
    }
    m_bApplying = false;
    m_tree.setUpdatesEnabled(updates);
}

void CTreeFind::End()
{
    if (!m_bActive)
        return;
    if (m_bStale)
        Index();
    m_finder = CTextFinder();
    m_matches.clear();
    ShowAll();
    m_bActive = false;
    // The item current at Begin, when it is still in the tree.
    if (m_pCurrentBefore && std::find(m_items.begin(), m_items.end(), m_pCurrentBefore) != m_items.end()) {
        m_tree.setCurrentItem(m_pCurrentBefore);
        m_tree.scrollToItem(m_pCurrentBefore);
    } else if (!m_pCurrentBefore) {
        m_tree.setCurrentItem(nullptr);
    }
    m_tree.viewport()->update();
    emit Changed();
}

bool CTreeFind::Step(bool forward)
{
    if (m_matches.empty())
        return false;
    if (m_bStale)
        Apply();
    if (m_matches.empty())
        return false;
    const auto at = std::find(m_items.begin(), m_items.end(), m_tree.currentItem());
    int current = at == m_items.end() ? -1 : int(at - m_items.begin());
    // From a current item the filter hid, the first match (the last) is next.
    for (int up = current; up >= 0; up = m_parents[size_t(up)])
        if (m_hidden[size_t(up)]) {
            current = -1;
            break;
        }
    int next;
    if (forward) {
        const auto it = std::upper_bound(m_matches.begin(), m_matches.end(), current);
        next = it == m_matches.end() ? m_matches.front() : *it;
    } else {
        const auto it =
            std::lower_bound(m_matches.begin(), m_matches.end(), current < 0 ? int(m_items.size()) : current);
        next = it == m_matches.begin() ? m_matches.back() : *(it - 1);
    }
    QTreeWidgetItem *item = m_items[size_t(next)];
    m_tree.setCurrentItem(item);
    m_tree.scrollToItem(item);
    return true;
}

QString CTreeFind::Summary() const
{
    if (m_matches.empty())
        return m_finder.IsEmpty() ? QString() : QStringLiteral("No matches");
    const int matches = MatchCount();
    return QStringLiteral("%1 %2 in %3 %4")
        .arg(matches)
        .arg(matches == 1 ? QStringLiteral("match") : QStringLiteral("matches"))
        .arg(m_nActions)
        .arg(m_nActions == 1 ? QStringLiteral("action") : QStringLiteral("actions"));
}

bool CTreeFind::IsMatch(const QTreeWidgetItem *item) const
{
    if (!m_bActive || m_finder.IsEmpty() || !item || !item->parent() || !CTreeOptionsCtrl::GetItemInfo(item))
        return false;
    return m_finder.Holds(Label(item)) || m_finder.Holds(CTreeOptionsCtrl::GetItemValueText(item));
}
