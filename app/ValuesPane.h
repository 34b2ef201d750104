#pragma once
// The values in effect of the selected action, read-only: every setting with
// the value the engine will use and where it comes from ("this action",
// "Default" or "built-in"). A setting the action sets to a value other than
// "Default"'s is marked.

#include "script/check/ValuesInEffect.h"

#include <QWidget>

class QLabel;
class QTreeWidget;

class CValuesPane : public QWidget
{
    Q_OBJECT
public:
    explicit CValuesPane(QWidget *parent = nullptr);

    // Shows the values of the section `name`; an empty list empties the pane.
    void SetValues(const QString &name, const std::vector<EffectiveValue> &values);
    QString Section() const { return m_strSection; }
    QTreeWidget &List() const { return *m_list; }
    // The pane's width at a first start: every name and origin whole, and
    // room for a value.
    int FirstWidth() const;

private:
    QLabel *m_caption;
    QTreeWidget *m_list;
    QString m_strSection;
};
