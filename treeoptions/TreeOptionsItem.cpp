#include "treeoptions/TreeOptionsItem.h"

#include "script/SettingCatalogue.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsImages.h"

#include <array>

struct CTreeOptionsItem::LoadedCopy
{
    QString text;     // when the item's text has changed since the load
    QString rawValue; // when the texts cannot say it
};

namespace {

// The base class's per-column lists, holding one column, shared by every item:
// the model counts an item's columns from them, and none holds a value.
const QTreeWidgetItem &OneColumn()
{
    static const QTreeWidgetItem one(QStringList{QString()});
    return one;
}

constexpr int kSmallNumbers = 256;

// "0" to "255", shared by every memory whose raw value is one of them.
const QString &SmallNumber(int n)
{
    static const std::array<QString, kSmallNumbers> numbers = [] {
        std::array<QString, kSmallNumbers> texts;
        for (int i = 0; i < kSmallNumbers; ++i)
            texts[size_t(i)] = QString::number(i);
        return texts;
    }();
    return numbers[size_t(n)];
}

// The number `text` writes in plain decimal (no sign, no leading zero), or -1.
int SmallNumberIn(QStringView text)
{
    if (text.isEmpty() || text.size() > 3 || (text.size() > 1 && text.front() == u'0'))
        return -1;
    int n = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n < kSmallNumbers ? n : -1;
}

// The part of `text` after the first value separator; null when there is none.
QStringView AfterSeparator(const QString &text)
{
    const qsizetype separator = text.indexOf(ValueSeparator());
    return separator < 0 ? QStringView() : QStringView(text).mid(separator + ValueSeparator().size());
}

int ImageIndex(int image)
{
    return image >= 0 && image <= CTreeOptionsItem::kMaxImage ? image : -1;
}

} // namespace

CTreeOptionsItem::CTreeOptionsItem(const QString &text, int image)
    : QTreeWidgetItem(kType), m_nImage(qint8(ImageIndex(image))), m_strText(text)
{
    QTreeWidgetItem::operator=(OneColumn());
}

CTreeOptionsItem::~CTreeOptionsItem()
{
    // An item deleted while it (or one of its descendants) carries the
    // in-place editor takes the editor with it, without a write-back.
    if (QTreeWidget *view = treeWidget())
        if (auto *tree = qobject_cast<CTreeOptionsCtrl *>(view))
            tree->ItemAboutToBeDeleted(this);
    ReleaseInfo();
}

CTreeOptionsItem *CTreeOptionsItem::CopyOf(const QTreeWidgetItem &source)
{
    auto *copy = new CTreeOptionsItem;
    // The assignment copies flags and every data role the base class holds,
    // and keeps the copy's own type; it copies neither parent nor children.
    static_cast<QTreeWidgetItem &>(*copy) = source;
    if (copy->columnCount() == 0) {
        copy->QTreeWidgetItem::operator=(OneColumn());
        copy->setFlags(source.flags());
    }
    copy->m_strText = source.data(0, Qt::DisplayRole).toString();
    copy->m_nImage = qint8(ImageIndex(source.data(0, kImageIndexRole).isValid()
                                          ? source.data(0, kImageIndexRole).toInt() : -1));
    if (source.type() == kType) {
        const auto &item = static_cast<const CTreeOptionsItem &>(source);
        if (item.m_pInfo)
            copy->SetInfo(*item.m_pInfo);
        if (item.HasLoadMemory())
            copy->SetLoadMemory(item.LoadedRawValue(), item.LoadedText(), item.m_nLoadedImage);
    }
    return copy;
}

QVariant CTreeOptionsItem::data(int column, int role) const
{
    if (column == 0) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return m_strText.isNull() ? QVariant() : QVariant(m_strText);
        case kImageIndexRole:
            return int(m_nImage);
        case Qt::DecorationRole:
            return m_nImage >= 0 && m_nImage < CTreeOptionsImages::kCount
                       ? QVariant(CTreeOptionsImages::Icon(m_nImage)) : QVariant();
        default:
            break;
        }
    }
    return QTreeWidgetItem::data(column, role);
}

void CTreeOptionsItem::setData(int column, int role, const QVariant &value)
{
    if (column == 0) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            SetText(value.isValid() ? value.toString() : QString());
            return;
        case kImageIndexRole:
            SetImage(value.isValid() ? value.toInt() : -1);
            return;
        default:
            break;
        }
    }
    QTreeWidgetItem::setData(column, role, value);
}

void CTreeOptionsItem::SetText(const QString &text)
{
    if (text == m_strText && text.isNull() == m_strText.isNull())
        return;
    if (m_nBits & kLoadedTextIsText) {
        Loaded().text = m_strText;
        m_nBits &= quint8(~kLoadedTextIsText);
    }
    m_strText = text;
    emitDataChanged();
}

void CTreeOptionsItem::SetImage(int image)
{
    image = ImageIndex(image);
    if (image == m_nImage)
        return;
    m_nImage = qint8(image);
    emitDataChanged();
}

void CTreeOptionsItem::ShareInfo(const CTreeOptionsItemInfo *shared)
{
    ReleaseInfo();
    m_pInfo = shared;
}

void CTreeOptionsItem::SetInfo(const CTreeOptionsItemInfo &info)
{
    const CTreeOptionsItemInfo *own = new CTreeOptionsItemInfo(info);
    ReleaseInfo();
    m_pInfo = own;
    m_nBits |= kOwnsInfo;
}

CTreeOptionsItemInfo *CTreeOptionsItem::EditableInfo()
{
    if (m_pInfo && !(m_nBits & kOwnsInfo))
        SetInfo(*m_pInfo);
    return const_cast<CTreeOptionsItemInfo *>(m_pInfo);
}

void CTreeOptionsItem::ReleaseInfo()
{
    if (m_nBits & kOwnsInfo)
        delete m_pInfo;
    m_pInfo = nullptr;
    m_nBits &= quint8(~kOwnsInfo);
}

CTreeOptionsItem::LoadedCopy &CTreeOptionsItem::Loaded()
{
    if (!m_pLoaded)
        m_pLoaded = std::make_unique<LoadedCopy>();
    return *m_pLoaded;
}

void CTreeOptionsItem::SetLoadMemory(QStringView rawValue, const QString &shownText, int shownImage)
{
    // The arguments may be this item's own memory: take what they say first.
    QString raw;
    const int number = SmallNumberIn(rawValue);
    const bool textIsShown = shownText == m_strText;
    const bool rawAfterSeparator = number < 0 && AfterSeparator(shownText) == rawValue
                                   && !AfterSeparator(shownText).isNull();
    if (number < 0 && !rawAfterSeparator)
        raw = rawValue.toString();
    const QString loadedText = textIsShown ? QString() : shownText;

    ClearLoadMemory();
    if (ImageIndex(shownImage) < 0)
        return;
    m_nLoadedImage = qint8(shownImage);
    if (textIsShown)
        m_nBits |= kLoadedTextIsText;
    else
        Loaded().text = loadedText;
    if (number >= 0) {
        m_nBits |= kRawSmallNumber;
        m_nRawNumber = quint8(number);
    } else if (rawAfterSeparator) {
        m_nBits |= kRawAfterSeparator;
    } else {
        m_nBits |= kRawKept;
        Loaded().rawValue = raw;
    }
}

void CTreeOptionsItem::ClearLoadMemory()
{
    m_nLoadedImage = -1;
    m_nRawNumber = 0;
    m_nBits &= quint8(~(kLoadedTextIsText | kRawMask));
    m_pLoaded.reset();
}

const QString &CTreeOptionsItem::LoadedText() const
{
    static const QString none;
    if (m_nBits & kLoadedTextIsText)
        return m_strText;
    return m_pLoaded ? m_pLoaded->text : none;
}

QStringView CTreeOptionsItem::LoadedRawValue() const
{
    switch (m_nBits & kRawMask) {
    case kRawAfterSeparator:
        return AfterSeparator(LoadedText());
    case kRawSmallNumber:
        return SmallNumber(m_nRawNumber);
    case kRawKept:
        return m_pLoaded ? QStringView(m_pLoaded->rawValue) : QStringView();
    default:
        return QStringView();
    }
}
