#include "script/check/KnownKeys.h"

#include "script/SettingFields.h"

#include <algorithm>
#include <numeric>

namespace {

// Lower case without spaces or underscores: "Search_subdir" and "search subdir" alike.
QString Squeezed(QStringView key)
{
    QString out;
    out.reserve(key.size());
    for (const QChar c : key)
        if (c != u' ' && c != u'_')
            out.append(c.toCaseFolded());
    return out;
}

int EditDistance(const QString &a, const QString &b)
{
    std::vector<int> row(size_t(b.size()) + 1);
    std::iota(row.begin(), row.end(), 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] = std::min({above + 1, row[size_t(j) - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[size_t(b.size())];
}

} // namespace

CKnownKeys::CKnownKeys()
{
    const auto &fields = SettingFields();
    for (int i = 0; i < kSettingFieldCount; ++i) {
        const qsizetype length = QStringView(fields[size_t(i)].key).size();
        if (length <= kLongestKey)
            m_byLength[size_t(length)].push_back(i);
    }
}

int CKnownKeys::IndexOf(QStringView key) const
{
    if (key.size() > kLongestKey)
        return -1;
    for (const int index : m_byLength[size_t(key.size())])
        if (key.compare(QStringView(SettingFields()[size_t(index)].key), Qt::CaseInsensitive) == 0)
            return index;
    return -1;
}

const SettingField *CKnownKeys::Find(QStringView key) const
{
    const int index = IndexOf(key);
    return index < 0 ? nullptr : &SettingFields()[size_t(index)];
}

QString CKnownKeys::Suggest(QStringView key) const
{
    // Far longer than any known key: no edit distance brings it near one.
    if (key.size() > kLongestGuess)
        return {};
    const QString squeezed = Squeezed(key);
    if (squeezed.isEmpty())
        return {};
    QString best;
    int bestDistance = squeezed.size() >= 8 ? 3 : 2; // allowed distance plus one
    for (const SettingField &field : SettingFields()) {
        const int distance = EditDistance(squeezed, Squeezed(field.key));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = field.Key();
        }
    }
    return best;
}
