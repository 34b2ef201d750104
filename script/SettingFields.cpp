#include "script/SettingFields.h"

#include <string>

namespace {

using K = SettingKind;

constexpr bool EndsWithSeparator(const char16_t *label)
{
    int length = 0;
    while (label[length])
        ++length;
    return length >= 2 && label[length - 2] == u':' && label[length - 1] == u' ';
}

constexpr char16_t Folded(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

constexpr bool SameKey(const char16_t *a, const char16_t *b)
{
    for (; *a && *b; ++a, ++b)
        if (Folded(*a) != Folded(*b))
            return false;
    return *a == *b;
}

// The member the kind needs, and only that one.
constexpr bool MemberFitsKind(const SettingField &field)
{
    const int members = (field.text != nullptr) + (field.int32 != nullptr) + (field.mask != nullptr)
                        + (field.int64 != nullptr) + (field.date != nullptr);
    switch (field.type) {
    case K::Text:
    case K::EscapedText:
        return members == 1 && field.text;
    case K::Number:
    case K::Check:
    case K::Radio:
    case K::Operation:
    case K::Sort:
    case K::NonNegative:
        return members == 1 && field.int32;
    case K::Mask:
        return members == 1 && field.mask;
    case K::Number64:
        return members == 1 && field.int64;
    case K::Date:
        return members == 1 && field.date;
    case K::Group:
        break;
    }
    return false;
}

// What the loader, the tree and the writer rely on; a row that breaks it does
// not build.
constexpr bool RowIsSound(const SettingField &field)
{
    if (!MemberFitsKind(field))
        return false;
    const int boxes = field.BoxCount();
    for (int i = boxes; i < int(field.boxes.size()); ++i)
        if (field.boxes[size_t(i)].label || field.boxes[size_t(i)].bit)
            return false;
    if (boxes == 0) // read, never shown: the tree and the writer do not know it
        return field.group == SettingGroup::None;
    switch (field.type) {
    case K::Radio:
        return boxes == 2 && !EndsWithSeparator(field.boxes[0].label) && !EndsWithSeparator(field.boxes[1].label);
    case K::Operation:
        return boxes == 2 && EndsWithSeparator(field.boxes[0].label) && !EndsWithSeparator(field.boxes[1].label);
    case K::Mask:
        for (int i = 0; i < boxes; ++i)
            if (field.boxes[size_t(i)].bit == 0 || EndsWithSeparator(field.boxes[size_t(i)].label))
                return false;
        return true;
    case K::Check:
        return boxes == 1 && !EndsWithSeparator(field.boxes[0].label);
    case K::EscapedText:
    case K::NonNegative:
    case K::Group:
        return false;
    default: // the writer tells a value from a check box by the separator
        return boxes == 1 && EndsWithSeparator(field.boxes[0].label);
    }
}

constexpr bool TableIsSound()
{
    const auto &fields = kSettingFields;
    bool groupDone[kSettingGroupCount] = {};
    SettingGroup open = SettingGroup::None;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (!RowIsSound(fields[i]))
            return false;
        for (size_t j = 0; j < i; ++j)
            if (SameKey(fields[i].key, fields[j].key) || (fields[i].text && fields[i].text == fields[j].text)
                || (fields[i].int32 && fields[i].int32 == fields[j].int32)
                || (fields[i].mask && fields[i].mask == fields[j].mask)
                || (fields[i].int64 && fields[i].int64 == fields[j].int64)
                || (fields[i].date && fields[i].date == fields[j].date))
                return false; // a key or a member twice
        if (!fields[i].IsShown() || fields[i].group == open)
            continue;
        // A group's rows stand together, under one heading.
        if (open != SettingGroup::None)
            groupDone[size_t(open)] = true;
        open = fields[i].group;
        if (groupDone[size_t(open)])
            return false;
    }
    return true;
}

static_assert(TableIsSound(), "a row of the settings table breaks a rule of SettingFields.cpp");

} // namespace

QString SettingField::ValueText(const CSynchSettings &record) const
{
    if (text)
        return record.*text;
    if (int32)
        return QString::number(record.*int32);
    if (mask)
        return QString::number(record.*mask);
    if (int64)
        return QString::number(record.*int64);
    return QString::number(record.*date);
}

bool SettingField::Equal(const CSynchSettings &a, const CSynchSettings &b) const
{
    if (text)
        return a.*text == b.*text;
    if (int32)
        return a.*int32 == b.*int32;
    if (mask)
        return a.*mask == b.*mask;
    if (int64)
        return a.*int64 == b.*int64;
    return a.*date == b.*date;
}

void SettingField::Copy(CSynchSettings &to, const CSynchSettings &from) const
{
    if (text)
        to.*text = from.*text;
    else if (int32)
        to.*int32 = from.*int32;
    else if (mask)
        to.*mask = from.*mask;
    else if (int64)
        to.*int64 = from.*int64;
    else
        to.*date = from.*date;
}

void SettingField::SetBuiltIn(CSynchSettings &record) const
{
    if (text)
        // The text stays in the table: copies of a new record share it for free.
        record.*text = *builtInText ? QString::fromRawData(reinterpret_cast<const QChar *>(builtInText),
                                                           qsizetype(std::char_traits<char16_t>::length(builtInText)))
                                    : QString();
    else if (int32)
        record.*int32 = qint32(builtIn);
    else if (mask)
        record.*mask = quint32(builtIn);
    else if (int64)
        record.*int64 = builtIn;
    else
        record.*date = quint64(builtIn);
}
