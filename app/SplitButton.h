#pragma once
// A button with a drop-down menu beside its own command, as the dialog's
// push buttons behave: Enter and Space click it, the down arrow (Alt+Down,
// F4) opens the menu.

#include <QToolButton>

class CSplitButton : public QToolButton
{
    Q_OBJECT
public:
    CSplitButton(const QString &text, QMenu *menu, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
