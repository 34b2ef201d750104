#include "treeoptions/TreeOptionsBrowseButton.h"

#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEditSession.h"

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
    const QFontMetrics metrics(m_pSession ? m_pSession->Tree().font() : font());
    const int width = metrics.horizontalAdvance(QStringLiteral("    ")) + metrics.horizontalAdvance(GetButtonText());
    return width > 0 ? width : 20;
}

void CTreeOptionsBrowseButton::PickColour()
{
    std::optional<COLORREF> colour;
    {
        CTreeOptionsEditSession::PickerScope picking(m_pSession);
        colour = ModalUi().ChooseColour(m_crColour);
    }
    if (!colour || !m_pSession || !m_pSession->Tree().currentItem())
        return;
    m_crColour = *colour;
    CTreeOptionsCtrl::SetItemColour(m_pSession->Tree().currentItem(), m_crColour);
    m_pSession->ReEditCurrentItem();
}

void CTreeOptionsBrowseButton::PickFont()
{
    std::optional<CLogFont> font;
    {
        CTreeOptionsEditSession::PickerScope picking(m_pSession);
        font = ModalUi().ChooseFont(m_lfFont);
    }
    if (!font || !m_pSession || !m_pSession->Tree().currentItem())
        return;
    m_lfFont = *font;
    CTreeOptionsCtrl::SetItemFont(m_pSession->Tree().currentItem(), m_lfFont);
    m_pSession->ReEditCurrentItem();
}

void CTreeOptionsBrowseButton::keyPressEvent(QKeyEvent *event)
{
    // Esc drops what was typed in the value beside; Enter clicks the button.
    if (event->key() == Qt::Key_Escape && m_pSession) {
        m_pSession->Cancel();
        return;
    }
    QPushButton::keyPressEvent(event);
    event->accept();
}
