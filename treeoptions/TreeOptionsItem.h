#pragma once
// The item of the options tree: a QTreeWidgetItem that answers its text, image
// and icon from plain members (no QObject, no icon, no variant list and no
// connection per item), shares its record with every item of its kind, and
// keeps how it was loaded in a few bytes, so trees of hundreds of thousands of
// items stay small.

#include "treeoptions/TreeOptionsItemInfo.h"

#include <QTreeWidgetItem>

// The separator between an item's label and its value in the item's text:
// "Label: value". Whoever builds the tree writes texts in that form.
inline QString TreeValueSeparator()
{
    return QStringLiteral(": ");
}

// Data roles of column 0 that the control keeps for itself. Every role from
// Qt::UserRole upward belongs to the user of the control: the control never
// reads or writes those, and DuplicateItem copies them with the item.
enum TreeOptionsRole : int {
    kImageIndexRole = Qt::UserRole - 1, // int: the item's image index, -1 for none
};

class CTreeOptionsItem final : public QTreeWidgetItem
{
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 0x4D50;
    // Image indexes run from 0 to kMaxImage; any other index means none (-1).
    static constexpr int kMaxImage = 127;

    explicit CTreeOptionsItem(const QString &text = QString(), int image = -1);
    ~CTreeOptionsItem() override;
    CTreeOptionsItem(const CTreeOptionsItem &) = delete;
    CTreeOptionsItem &operator=(const CTreeOptionsItem &) = delete;

    // A detached copy: text, flags, every data role, the image index, the
    // memory of the load and its own copy of the record; no children, no parent.
    static CTreeOptionsItem *CopyOf(const QTreeWidgetItem &source);

    // Column 0's text (display and edit role) and image live in the item itself.
    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant &value) override;

    int Image() const { return m_nImage; }
    void SetImage(int image);

    // The record, or null. ShareInfo gives the item the record every item of
    // that kind and editor class shares, which never changes; SetInfo gives it
    // its own copy; EditableInfo makes a shared record the item's own before
    // it is changed (null when none).
    const CTreeOptionsItemInfo *Info() const;
    void ShareInfo(quint32 kind, const QMetaObject *editorClass);
    void SetInfo(const CTreeOptionsItemInfo &info);
    CTreeOptionsItemInfo *EditableInfo();

    // What the item's owner loaded it from: the raw value behind it and the
    // text and image it showed then, so the owner can tell an item nobody has
    // touched. Nothing is allocated while the item still shows the loaded text
    // and the raw value is that text's value (after ": ") or a small number.
    void SetLoadMemory(QStringView rawValue, const QString &shownText, int shownImage);
    void ClearLoadMemory();
    bool HasLoadMemory() const { return m_nLoadedImage >= 0; }
    int LoadedImage() const { return m_nLoadedImage; }
    const QString &LoadedText() const;
    // Valid until the memory or the item's text changes.
    QStringView LoadedRawValue() const;

    // What few items need besides (an own record, texts the bytes of the item
    // cannot say), kept in a table beside the items.
    struct Extra;

private:
    enum Bits : quint8 {
        kLoadedTextIsText = 0x01, // the loaded text is m_strText
        kRawMask = 0x06,
        kRawAfterSeparator = 0x02, // the raw value is the loaded text after ": "
        kRawSmallNumber = 0x04,    // the raw value is m_nRawNumber in decimal
        kRawKept = 0x06,           // the raw value is in the item's extras
        kHasExtras = 0x08,         // the item has an entry in the table of extras
        kSharedShift = 4,          // the rest: 1 + the shared record's number, 0 for none
    };

    void SetText(const QString &text);
    int SharedInfo() const { return m_nBits >> kSharedShift; }
    void SetSharedInfo(int number);
    // No item pays a pointer for its extras: the table finds them.
    Extra *FindExtras() const;
    Extra &Extras();
    void DropEmptyExtras();

    // Four bytes that fit the base class's tail padding, then the text: the
    // item takes 120 bytes besides the base class's private part, the most a
    // 128-byte block of the allocator holds.
    qint8 m_nImage = -1;
    qint8 m_nLoadedImage = -1;
    quint8 m_nBits = 0;
    quint8 m_nRawNumber = 0;
    QString m_strText;
};

// Where an item goes among its siblings: first, last, or after a sibling.
class CTreeInsertPos
{
public:
    enum class Where { First, Last, After };
    constexpr CTreeInsertPos(Where where) : m_where(where) {}
    // After `sibling`; a null sibling means last.
    constexpr CTreeInsertPos(QTreeWidgetItem *sibling)
        : m_where(sibling ? Where::After : Where::Last)
        , m_pSibling(sibling)
    {
    }

    Where where() const { return m_where; }
    QTreeWidgetItem *sibling() const { return m_pSibling; }

private:
    Where m_where;
    QTreeWidgetItem *m_pSibling = nullptr;
};

inline constexpr CTreeInsertPos TVI_FIRST{CTreeInsertPos::Where::First};
inline constexpr CTreeInsertPos TVI_LAST{CTreeInsertPos::Where::Last};
