#pragma once
// The item of the options tree: a QTreeWidgetItem that keeps its image index and
// its record as plain members (no QObject, no icon and no connection per item),
// so trees of hundreds of thousands of items stay small.

#include "treeoptions/TreeOptionsItemInfo.h"

#include <QTreeWidgetItem>

#include <memory>

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

    explicit CTreeOptionsItem(const QString &text = QString(), int image = -1);
    ~CTreeOptionsItem() override;

    // A detached copy: text, flags, every data role, the image index and a
    // fresh copy of the record; no children, no parent.
    static CTreeOptionsItem *CopyOf(const QTreeWidgetItem &source);

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant &value) override;

    int Image() const { return m_nImage; }
    void SetImage(int image);

    CTreeOptionsItemInfo *Info() const { return m_pInfo.get(); }
    void SetInfo(std::unique_ptr<CTreeOptionsItemInfo> info) { m_pInfo = std::move(info); }

private:
    int m_nImage = -1;
    std::unique_ptr<CTreeOptionsItemInfo> m_pInfo;
};

// Where an item goes among its siblings: first, last, or after a sibling.
class CTreeInsertPos
{
public:
    enum class Where { First, Last, After };
    constexpr CTreeInsertPos(Where where) : m_where(where) {}
    // After `sibling`; a null sibling means last.
    constexpr CTreeInsertPos(QTreeWidgetItem *sibling)
        : m_where(sibling ? Where::After : Where::Last), m_pSibling(sibling) {}

    Where where() const { return m_where; }
    QTreeWidgetItem *sibling() const { return m_pSibling; }

private:
    Where m_where;
    QTreeWidgetItem *m_pSibling = nullptr;
};

inline constexpr CTreeInsertPos TVI_FIRST{CTreeInsertPos::Where::First};
inline constexpr CTreeInsertPos TVI_LAST{CTreeInsertPos::Where::Last};
