#pragma once
// The tooltips of the options tree: hovering a setting item shows the setting's
// one-line description from the user guide.

#include <QObject>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

class CSettingToolTip : public QObject
{
    Q_OBJECT
public:
    // Shows the tooltips of `tree`'s items; lives as long as the tree.
    explicit CSettingToolTip(QTreeWidget &tree);

    // The tooltip of `item`: its setting's description, or empty for an item
    // that is no setting (a section's root, an unknown item).
    static QString ToolTipFor(const QTreeWidgetItem *item);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTreeWidget &m_tree;
    // Compared with the watched object without calling into the tree, which
    // may be half destroyed when its viewport's last events arrive.
    QWidget *m_viewport;
};
