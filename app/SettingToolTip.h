#pragma once
// The tooltips of the options tree: hovering a setting item shows the setting's
// one-line description from the user guide, then whatever the editor adds
// about the item (the value in effect). The description is also the item's
// description for assistive tools.

#include <QObject>
#include <QString>

#include <functional>

class CTreeOptionsCtrl;
class QTreeWidget;
class QTreeWidgetItem;

class CSettingToolTip : public QObject
{
    Q_OBJECT
public:
    // Shows the tooltips of `tree`'s items; lives as long as the tree.
    explicit CSettingToolTip(CTreeOptionsCtrl &tree);

    // The tooltip of `item`: its setting's description, or empty for an item
    // that is no setting (a section's root, an unknown item).
    static QString ToolTipFor(const QTreeWidgetItem *item);

    // A line about an item to follow its description (empty: none).
    using Detail = std::function<QString(const QTreeWidgetItem *item)>;
    void SetDetail(Detail detail) { m_detail = std::move(detail); }
    // The whole tooltip of `item`: the description, then the detail.
    QString TextFor(const QTreeWidgetItem *item) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTreeWidget &m_tree;
    // Compared with the watched object without calling into the tree, which
    // may be half destroyed when its viewport's last events arrive.
    QWidget *m_viewport;
    Detail m_detail;
};
