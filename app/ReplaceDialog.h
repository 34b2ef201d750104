#pragma once
// Replace (Ctrl+H): a text replaced in the values of every action or of the
// selected one. The dialog lists each change it would make (action, setting,
// old value, new value, and for a value of Default the actions that inherit
// it) with a check box; Replace hands the checked ones over.

#include "script/find/ReplacePlan.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

class CReplaceDialog : public QDialog
{
    Q_OBJECT
public:
    // A change: the tree item of a value and the value it gets.
    struct Change
    {
        QTreeWidgetItem *m_pItem;
        QString m_strValue;
    };

    // `tree` is the options tree; `selected` the root of the selected item,
    // or null. The dialog reads the values when it opens.
    CReplaceDialog(QTreeWidget &tree, QTreeWidgetItem *selected, QWidget *parent = nullptr);

    // The changes checked in the list.
    std::vector<Change> CheckedChanges() const;

    QLineEdit &FindField() const { return *m_find; }
    QLineEdit &ReplaceField() const { return *m_replace; }
    QCheckBox &MatchCase() const { return *m_matchCase; }
    QCheckBox &WholeParts() const { return *m_wholeParts; }
    QRadioButton &SelectedOnly() const { return *m_selectedOnly; }
    QTreeWidget &Preview() const { return *m_preview; }
    QPushButton &ReplaceButton() const { return *m_replaceButton; }

signals:
    // Replace was pressed with `changes` checked.
    void Replace(const std::vector<CReplaceDialog::Change> &changes);

private:
    // The list of changes for what the fields say now.
    void UpdatePreview();

    QTreeWidgetItem *m_pSelectedRoot;
    std::vector<CValueSite> m_sites;
    std::vector<QTreeWidgetItem *> m_siteItems; // by site
    QStringList m_sections;
    std::vector<CReplacement> m_plan; // by row of the preview
    QLineEdit *m_find;
    QLineEdit *m_replace;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeParts;
    QRadioButton *m_everyAction;
    QRadioButton *m_selectedOnly;
    QTreeWidget *m_preview;
    QLabel *m_summary;
    QPushButton *m_replaceButton;
};
