#pragma once
// What the options tree knows about a check box, radio button or editable item
// besides its text and image: which in-place editor opens for it, the buddy
// beside that editor, its kind and, for colour and font items, their values.

#include "framework/ColourTypes.h"

#include <QMetaObject>

// Item kind codes.
enum TreeOptionsItemKind : quint32 {
    kKindNone = 0,
    kKindFilePath = 3,   // edit with a browse button opening a file picker
    kKindFolderPath = 4, // edit with a browse button opening a folder picker
    kKindColour = 5,     // browse button alone; the value is drawn as a colour square
    kKindCheckBox = 7,
    kKindRadio = 8,
    kKindCombo = 9,
    kKindEdit = 10,
};

// A plain copyable record of a check box, radio button or editable item. The
// records the control makes itself (check box, radio, list, edit) are shared by
// every item of that kind and never change; an item given its own record (by
// SetItemInfo or a copy) owns it, and changing a shared record gives the item
// its own copy first. Editor and buddy classes are meta-objects of QWidget
// classes with a Q_INVOKABLE default constructor, so classes derived from the
// editors (with Q_OBJECT) are created and recognised as well.
struct CTreeOptionsItemInfo
{
    const QMetaObject *m_pEditorClass =
        nullptr; // CTreeOptionsCombo, CTreeOptionsEdit, CTreeOptionsBrowseButton or derived
    const QMetaObject *m_pBuddyClass = nullptr; // CTreeOptionsSpinCtrl or CTreeOptionsBrowseButton beside an edit
    quint32 m_nKind = kKindNone;
    COLORREF m_crColour = RGB(255, 0, 0);
    CLogFont m_lfFont;

    bool operator==(const CTreeOptionsItemInfo &) const = default;
};

// The class argument for AttachComboBox, AttachEditBox and the record fields.
template <typename T>
const QMetaObject *EditorClass()
{
    return &T::staticMetaObject;
}
