#pragma once
// The keys the editor reads from a section, found by a key as written
// (ignoring case, as lookups do), and the known key a misspelt one most
// likely meant.

#include "script/SettingFields.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

class CKnownKeys
{
public:
    CKnownKeys();

    // The field whose key `key` is, ignoring case; nullptr for an unknown key.
    const SettingField *Find(QStringView key) const;
    // Its index in SettingFields(), or -1.
    int IndexOf(QStringView key) const;
    // A known key that `key` differs from only in case, spaces or
    // underscores, or within a small edit distance; empty when none is close
    // and for keys longer than kLongestGuess characters.
    QString Suggest(QStringView key) const;
    static constexpr int kLongestGuess = 64;

private:
    static constexpr int kLongestKey = [] {
        int longest = 0;
        for (const SettingField &field : kSettingFields)
            longest = std::max(longest, int(std::char_traits<char16_t>::length(field.key)));
        return longest;
    }();
    // Field indexes by key length.
    std::array<std::vector<int>, kLongestKey + 1> m_byLength;
};
