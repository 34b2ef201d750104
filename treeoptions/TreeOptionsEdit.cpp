#include "treeoptions/TreeOptionsEdit.h"

#include "treeoptions/SingleLine.h"
#include "treeoptions/TreeOptionsBrowseButton.h"
#include "treeoptions/TreeOptionsEditSession.h"
#include "treeoptions/TreeOptionsFileDialog.h"
#include "treeoptions/TreeOptionsSpinCtrl.h"

#include "framework/ModalUi.h"

#include <QKeyEvent>

CTreeOptionsEdit::CTreeOptionsEdit(QWidget *parent) : QLineEdit(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    // Pasted or dropped text keeps no line break: it would split the script line.
    connect(this, &QLineEdit::textChanged, this, &CTreeOptionsEdit::KeepSingleLine);
}

void CTreeOptionsEdit::KeepSingleLine(const QString &text)
{
    const QString line = SingleLine(text);
    if (line == text)
        return;
    const int cursor = cursorPosition();
    setText(line);
    setCursorPosition(qMin(cursor, int(line.size())));
}

void CTreeOptionsEdit::BrowseFolder(const QString &current)
{
    CTreeOptionsEditSession::PickerScope picking(m_pSession);
    if (const std::optional<QString> folder = ModalUi().ChooseFolder(GetFolderPrompt(), current))
        setText(SingleLine(*folder));
}

void CTreeOptionsEdit::BrowseFile(const QString &current)
{
    CTreeOptionsEditSession::PickerScope picking(m_pSession);
    CTreeOptionsFileDialog dialog(true, QString(), current,
                                  CTreeOptionsFileDialog::kHideReadOnly | CTreeOptionsFileDialog::kOverwritePrompt,
                                  GetFileFilter());
    dialog.SetTitle(GetFilePrompt());
    if (dialog.DoModal())
        setText(SingleLine(dialog.GetPathName()));
}

bool CTreeOptionsEdit::event(QEvent *event)
{
    // Tab reaches focusNextPrevChild before keyPressEvent: take it here. It
    // moves to the browse button when there is one, else back to the tree.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            if (m_pBrowseButton && m_pBrowseButton->isVisible())
                m_pBrowseButton->setFocus(Qt::TabFocusReason);
            else if (m_pSession)
                m_pSession->FocusTree();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CTreeOptionsEdit::keyPressEvent(QKeyEvent *event)
{
    // With a spin buddy the arrow keys step the number.
    if (m_pSpin && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        m_pSpin->StepBy(event->key() == Qt::Key_Up ? 1 : -1);
        return;
    }
    // Enter keeps the value, Esc drops what was typed; neither goes on to
    // the dialog, where it would save or close.
    const int key = event->key();
    if (m_pSession && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
        key == Qt::Key_Escape ? m_pSession->Cancel() : m_pSession->Finish();
        return;
    }
    QLineEdit::keyPressEvent(event);
    // Other keys the edit did not want stay here instead of moving the
    // tree's selection.
    event->accept();
}
