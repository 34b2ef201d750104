#pragma once
// Builds the options tree while the loader reads a script: one root item per
// section, and under it the branch that shows the keys the section holds, in
// catalogue order under the three group headings. Each item remembers how its
// key's line read and what it showed (in its record); each root carries its
// section's "@=" lines and the lines the tree does not show (kRootLinesRole).
// Branches are built detached and go into the tree together at the end.

#include "script/SectionTreeBuilder.h"
#include "script/SettingFields.h"
#include "scripttree/ScriptLayout.h"

#include <QList>
#include <QStringList>

#include <array>
#include <vector>

class CTreeOptionsCtrl;
class QTreeWidgetItem;

class CBranchBuilder : public ISectionTreeBuilder
{
public:
    explicit CBranchBuilder(CTreeOptionsCtrl &tree);
    ~CBranchBuilder() override;
    CBranchBuilder(const CBranchBuilder &) = delete;
    CBranchBuilder &operator=(const CBranchBuilder &) = delete;

    void ScriptRead(const CScriptFile &file) override;
    void BeginRoot(const QString &name) override;
    void KeyFound(const SettingField &field, const CSynchSettings &record, QStringView rawValue,
                  qsizetype lineIndex) override;
    void EndRoot(const CSection *section, const CSynchSettings &record) override;

    // Appends the roots built so far to the tree's root level, at once.
    void AddRootsToTree();
    // The layout of the script read last, which its roots know their sections in.
    const ScriptLayoutPtr &Layout() const { return m_layout; }

    // The lines of `section` the tree does not show, in file order: every
    // stored line but the "@=" lines, the lines in `takenLines` (sorted) and
    // later lines of a catalogue key, and every line without '='.
    static QStringList KeptLines(const CSection &section, const std::vector<qsizetype> &takenLines);

private:
    // The root, or the group's heading, made when the group's first key is found.
    QTreeWidgetItem *GroupFor(SettingGroup group);
    QTreeWidgetItem *ValueItem(QTreeWidgetItem *parent, const QString &text, int image, const QMetaObject *editor);

    CTreeOptionsCtrl &m_tree;
    QStringList m_labels;
    std::array<QString, kSettingGroupCount> m_groupLabels;
    QList<QTreeWidgetItem *> m_roots;
    QTreeWidgetItem *m_pRoot = nullptr;
    std::array<QTreeWidgetItem *, kSettingGroupCount> m_pGroups{};
    std::vector<qsizetype> m_takenLines;
    ScriptLayoutPtr m_layout;
};
