#pragma once
// The in-place list editor of the options tree. Derived classes add their
// entries in their constructor; the tree preselects the item's value and
// writes the chosen entry back when editing ends.

#include <QComboBox>

class CTreeOptionsEditSession;

class CTreeOptionsCombo : public QComboBox
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit CTreeOptionsCombo(QWidget *parent = nullptr);

    // A drop-down list (not editable) by default: the value is one of the entries.
    virtual bool IsDropDownList() const { return true; }
    // The least height in pixels from the top of the control to the bottom of
    // the dropped list.
    virtual int GetDropHeight() const { return 100; }

    // The preselection rule: the entry equal to `value` ignoring case, else the
    // first entry beginning with it; -1 for an empty or unmatched value.
    int FindValue(const QString &value) const;
    // Shows `value`: selects its entry (or none) for a list, sets the text otherwise.
    void SetValue(const QString &value);
    // The chosen entry; while nothing is chosen, the value the list opened
    // with, so opening and leaving the list never changes an item.
    QString Value() const;

    CTreeOptionsEditSession *m_pSession = nullptr;

private:
    QString m_strInitialValue;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void showPopup() override;
};
