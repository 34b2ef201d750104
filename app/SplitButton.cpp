#include "app/SplitButton.h"

#include <QKeyEvent>
#include <QMenu>

CSplitButton::CSplitButton(const QString &text, QMenu *menu, QWidget *parent) : QToolButton(parent)
{
    setText(text);
    setMenu(menu);
    setPopupMode(QToolButton::MenuButtonPopup);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
}

void CSplitButton::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_F4:
        showMenu();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        animateClick();
        return;
    default:
        QToolButton::keyPressEvent(event);
    }
}
