#include "treeoptions/TreeOptionsBrowseButton.h"

#include "treeoptions/TreeOptionsCtrl.h"

#include "framework/ModalUi.h"

#include <QFontMetrics>
#include <QKeyEvent>

CTreeOptionsBrowseButton::CTreeOptionsBrowseButton(QWidget *parent) : QPushButton(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setAutoDefault(false);
}

int CTreeOptionsBrowseButton::GetButtonWidth() const
{
    const QFontMetrics metrics(m_pOwnerTree ? m_pOwnerTree->font() : font());
    const int width = metrics.horizontalAdvance(QStringLiteral("    ")) + metrics.horizontalAdvance(GetButtonText());
    return width > 0 ? width : 20;
}

void CTreeOptionsBrowseButton::PickColour()
{
    std::optional<COLORREF> colour;
    {
        CTreeOptionsCtrl::PickerScope picking(m_pOwnerTree);
        colour = ModalUi().ChooseColour(m_crColour);
    }
    if (!colour || !m_pOwnerTree || !m_pOwnerTree->currentItem())
        return;
    m_crColour = *colour;
    CTreeOptionsCtrl::SetItemColour(m_pOwnerTree->currentItem(), m_crColour);
    m_pOwnerTree->ReEditCurrentItem();
}

void CTreeOptionsBrowseButton::PickFont()
{
    std::optional<CLogFont> font;
    {
        CTreeOptionsCtrl::PickerScope picking(m_pOwnerTree);
        font = ModalUi().ChooseFont(m_lfFont);
    }
    if (!font || !m_pOwnerTree || !m_pOwnerTree->currentItem())
        return;
    m_lfFont = *font;
    CTreeOptionsCtrl::SetItemFont(m_pOwnerTree->currentItem(), m_lfFont);
    m_pOwnerTree->ReEditCurrentItem();
}

void CTreeOptionsBrowseButton::keyPressEvent(QKeyEvent *event)
{
    // Esc drops what was typed in the value beside; Enter clicks the button.
    if (event->key() == Qt::Key_Escape && m_pOwnerTree) {
        m_pOwnerTree->CancelEdit();
        return;
    }
    QPushButton::keyPressEvent(event);
    event->accept();
}
