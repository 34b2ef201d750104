#pragma once
// The keys the editor reads from a section, found by a key as written
// (ignoring case, as lookups do), and the known key a misspelt one most
// likely meant.

#include <QString>
#include <QStringView>

#include <array>
#include <vector>

struct SettingField;

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
    static constexpr int kLongestKey = 40;
    // Field indexes by key length.
    std::array<std::vector<int>, kLongestKey + 1> m_byLength;
};
