#pragma once
// The spin buddy of a number item: up and down arrows at the right edge of the
// edit that step the number in the edit within a range. Clicking it never
// takes the focus, so the editor stays open.

#include <QWidget>

class CTreeOptionsEdit;
class QToolButton;

class CTreeOptionsSpinCtrl : public QWidget
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit CTreeOptionsSpinCtrl(QWidget *parent = nullptr);

    // The width the edit leaves free for the spin when it is placed; the spin
    // then takes its own width off the edit's right end.
    virtual int GetLayoutWidth() const { return 1; }
    virtual void GetValueRange(int &lower, int &upper) const { lower = 0, upper = 100; }

    // Steps the edit's number by `delta`, kept within the range; a text that is
    // no number counts as the lower bound. Written without thousands separators.
    void StepBy(int delta);

    QSize sizeHint() const override;

    CTreeOptionsEdit *m_pEdit = nullptr;

private:
    QToolButton *m_pUp;
    QToolButton *m_pDown;
};
