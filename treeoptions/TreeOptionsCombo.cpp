#include "treeoptions/TreeOptionsCombo.h"

#include "treeoptions/TreeOptionsEditSession.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>

CTreeOptionsCombo::CTreeOptionsCombo(QWidget *parent) : QComboBox(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setInsertPolicy(QComboBox::NoInsert);
}

int CTreeOptionsCombo::FindValue(const QString &value) const
{
    if (value.isEmpty())
        return -1;
    const int exact = findText(value, Qt::MatchFixedString);
    return exact >= 0 ? exact : findText(value, Qt::MatchStartsWith);
}

void CTreeOptionsCombo::SetValue(const QString &value)
{
    m_strInitialValue = value;
    if (!IsDropDownList()) {
        setEditable(true);
        setCurrentIndex(FindValue(value));
        setEditText(value);
        return;
    }
    // Filling the list selected its first entry; a value that matches nothing
    // must leave the list without a selection.
    setCurrentIndex(FindValue(value));
}

QString CTreeOptionsCombo::Value() const
{
    if (IsDropDownList() && currentIndex() < 0)
        return m_strInitialValue;
    return currentText();
}

bool CTreeOptionsCombo::event(QEvent *event)
{
    // Tab would move the focus along the dialog before keyPressEvent sees it:
    // it returns the focus to the tree, which commits the value.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && m_pSession) {
            m_pSession->FocusTree();
            return true;
        }
    }
    return QComboBox::event(event);
}

void CTreeOptionsCombo::keyPressEvent(QKeyEvent *event)
{
    // With the list closed, Enter keeps the choice and Esc drops it; neither
    // goes on to the dialog, where it would save or close.
    const int key = event->key();
    if (m_pSession && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
        key == Qt::Key_Escape ? m_pSession->Cancel() : m_pSession->Finish();
        return;
    }
    QComboBox::keyPressEvent(event);
    // Other keys the list did not want stay here instead of moving the
    // tree's selection.
    event->accept();
}

void CTreeOptionsCombo::wheelEvent(QWheelEvent *event)
{
    // The wheel steps the list only while it has the keyboard; otherwise it
    // goes to the tree, which ends editing.
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

void CTreeOptionsCombo::showPopup()
{
    // The dropped list shows every entry (up to 30), and at least reaches
    // GetDropHeight() below the top of the control.
    const int row = qMax(1, view()->sizeHintForRow(0));
    setMaxVisibleItems(qMax(qMin(count(), 30), (GetDropHeight() - height()) / row));
    // At least as wide as the longest entry, whatever the control's own width.
    QAbstractItemView *list = view();
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = qMax(widest, list->sizeHintForIndex(model()->index(i, modelColumn())).width());
    const int frame =
        2 * list->frameWidth() + (count() > maxVisibleItems() ? list->verticalScrollBar()->sizeHint().width() : 0);
    list->setMinimumWidth(widest + frame);
    QComboBox::showPopup();
}
