#include "treeoptions/TreeOptionsItem.h"

#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsImages.h"

#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

struct CTreeOptionsItem::Extra
{
    std::optional<CTreeOptionsItemInfo> info; // the item's own record
    QString loadedText;                       // when the item's text has changed since the load
    QString rawValue;                         // when the texts cannot say it
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
    const qsizetype separator = text.indexOf(TreeValueSeparator());
    return separator < 0 ? QStringView() : QStringView(text).mid(separator + TreeValueSeparator().size());
}

// The records items share, by number: never freed, so an item taken down late
// (by a static owner, say) still finds its own. Numbered from 1, as the item
// keeps them; an item whose record cannot be numbered gets its own copy.
constexpr int kMostSharedRecords = 15;

std::vector<const CTreeOptionsItemInfo *> &SharedRecords()
{
    static auto *const records = new std::vector<const CTreeOptionsItemInfo *>;
    return *records;
}

int SharedRecordNumber(quint32 kind, const QMetaObject *editorClass)
{
    std::vector<const CTreeOptionsItemInfo *> &records = SharedRecords();
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i]->m_nKind == kind && records[i]->m_pEditorClass == editorClass)
            return int(i) + 1;
    if (records.size() >= size_t(kMostSharedRecords))
        return 0;
    auto *record = new CTreeOptionsItemInfo;
    record->m_nKind = kind;
    record->m_pEditorClass = editorClass;
    records.push_back(record);
    return int(records.size());
}

// The extras of the items that have any. Never freed, like the shared records.
std::unordered_map<const void *, CTreeOptionsItem::Extra> &ExtrasTable()
{
    static auto *const table = new std::unordered_map<const void *, CTreeOptionsItem::Extra>;
    return *table;
}

int ImageIndex(int image)
{
    return image >= 0 && image <= CTreeOptionsItem::kMaxImage ? image : -1;
}

} // namespace

CTreeOptionsItem::CTreeOptionsItem(const QString &text, int image)
    : QTreeWidgetItem(kType)
    , m_nImage(qint8(ImageIndex(image)))
    , m_strText(text)
{
    QTreeWidgetItem::operator=(OneColumn());
}

CTreeOptionsItem::~CTreeOptionsItem()
{
    // An item deleted while it (or one of its descendants) carries the
    // in-place editor takes the editor with it, without a write-back.
    if (QTreeWidget *view = treeWidget())
        if (auto *tree = qobject_cast<CTreeOptionsCtrl *>(view))
            tree->EditSession().ItemAboutToBeDeleted(this);
    if (m_nBits & kHasExtras)
        ExtrasTable().erase(this);
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
    copy->m_nImage =
        qint8(ImageIndex(source.data(0, kImageIndexRole).isValid() ? source.data(0, kImageIndexRole).toInt() : -1));
    if (source.type() == kType) {
        const auto &item = static_cast<const CTreeOptionsItem &>(source);
        if (const CTreeOptionsItemInfo *info = item.Info())
            copy->SetInfo(*info);
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
            return m_nImage >= 0 && m_nImage < CTreeOptionsImages::kCount ? QVariant(CTreeOptionsImages::Icon(m_nImage))
                                                                          : QVariant();
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
        Extras().loadedText = m_strText;
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

const CTreeOptionsItemInfo *CTreeOptionsItem::Info() const
{
    if (const int shared = SharedInfo())
        return SharedRecords()[size_t(shared - 1)];
    const Extra *extras = FindExtras();
    return extras && extras->info ? &*extras->info : nullptr;
}

void CTreeOptionsItem::SetSharedInfo(int number)
{
    m_nBits = quint8((m_nBits & ((1 << kSharedShift) - 1)) | (number << kSharedShift));
}

void CTreeOptionsItem::ShareInfo(quint32 kind, const QMetaObject *editorClass)
{
    const int number = SharedRecordNumber(kind, editorClass);
    if (number == 0) {
        CTreeOptionsItemInfo info;
        info.m_nKind = kind;
        info.m_pEditorClass = editorClass;
        SetInfo(info);
        return;
    }
    SetSharedInfo(number);
    if (Extra *extras = FindExtras()) {
        extras->info.reset();
        DropEmptyExtras();
    }
}

void CTreeOptionsItem::SetInfo(const CTreeOptionsItemInfo &info)
{
    Extras().info = info;
    SetSharedInfo(0);
}

CTreeOptionsItemInfo *CTreeOptionsItem::EditableInfo()
{
    if (const int shared = SharedInfo())
        SetInfo(*SharedRecords()[size_t(shared - 1)]);
    Extra *extras = FindExtras();
    return extras && extras->info ? &*extras->info : nullptr;
}

CTreeOptionsItem::Extra *CTreeOptionsItem::FindExtras() const
{
    if (!(m_nBits & kHasExtras))
        return nullptr;
    const auto found = ExtrasTable().find(this);
    return found != ExtrasTable().end() ? &found->second : nullptr;
}

CTreeOptionsItem::Extra &CTreeOptionsItem::Extras()
{
    m_nBits |= kHasExtras;
    return ExtrasTable()[this];
}

void CTreeOptionsItem::DropEmptyExtras()
{
    const bool textsKept = HasLoadMemory() && (!(m_nBits & kLoadedTextIsText) || (m_nBits & kRawMask) == kRawKept);
    const Extra *extras = FindExtras();
    if (extras && !extras->info && !textsKept) {
        ExtrasTable().erase(this);
        m_nBits &= quint8(~kHasExtras);
    }
}

void CTreeOptionsItem::SetLoadMemory(QStringView rawValue, const QString &shownText, int shownImage)
{
    // The arguments may be this item's own memory: take what they say first.
    QString raw;
    const int number = SmallNumberIn(rawValue);
    const bool textIsShown = shownText == m_strText;
    const bool rawAfterSeparator =
        number < 0 && AfterSeparator(shownText) == rawValue && !AfterSeparator(shownText).isNull();
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
        Extras().loadedText = loadedText;
    if (number >= 0) {
        m_nBits |= kRawSmallNumber;
        m_nRawNumber = quint8(number);
    } else if (rawAfterSeparator) {
        m_nBits |= kRawAfterSeparator;
    } else {
        m_nBits |= kRawKept;
        Extras().rawValue = raw;
    }
}

void CTreeOptionsItem::ClearLoadMemory()
{
    m_nLoadedImage = -1;
    m_nRawNumber = 0;
    m_nBits &= quint8(~(kLoadedTextIsText | kRawMask));
    if (Extra *extras = FindExtras()) {
        extras->loadedText = QString();
        extras->rawValue = QString();
        DropEmptyExtras();
    }
}

const QString &CTreeOptionsItem::LoadedText() const
{
    static const QString none;
    if (m_nBits & kLoadedTextIsText)
        return m_strText;
    const Extra *extras = FindExtras();
    return extras ? extras->loadedText : none;
}

QStringView CTreeOptionsItem::LoadedRawValue() const
{
    switch (m_nBits & kRawMask) {
    case kRawAfterSeparator:
        return AfterSeparator(LoadedText());
    case kRawSmallNumber:
        return SmallNumber(m_nRawNumber);
    case kRawKept:
        if (const Extra *extras = FindExtras())
            return extras->rawValue;
        return QStringView();
    default:
        return QStringView();
    }
}
