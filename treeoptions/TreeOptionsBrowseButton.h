#pragma once
// The "..." button of the options tree: beside the edit of a file or folder
// path item it opens the picker for the edit; alone after the text of a colour
// or font item it opens the colour or font picker for the item.

#include "framework/ColourTypes.h"

#include <QPushButton>

class CTreeOptionsEditSession;
class CTreeOptionsEdit;

class CTreeOptionsBrowseButton : public QPushButton
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit CTreeOptionsBrowseButton(QWidget *parent = nullptr);

    // Four spaces and the caption, measured in the tree's font.
    virtual int GetButtonWidth() const;
    virtual QString GetButtonText() const { return QStringLiteral("..."); }
    // The pickers of colour and font items: a choice is stored in the current
    // item and editing of that item is reopened so the new value shows.
    virtual void PickColour();
    virtual void PickFont();

    COLORREF m_crColour = RGB(255, 0, 0);
    CLogFont m_lfFont;
    CTreeOptionsEditSession *m_pSession = nullptr;
    CTreeOptionsEdit *m_pEdit = nullptr; // the edit it serves; null for colour and font items

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
