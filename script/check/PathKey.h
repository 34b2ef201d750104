#pragma once
// A folder path as the engine's platform compares it: letter case ignored,
// '\' and '/' alike, a trailing separator ignored, "." and ".." resolved
// textually. A path naming an environment variable (%TEMP%) is compared as
// written: it equals another, but is never said to lie inside one.

#include <QString>
#include <QStringView>

class CPathKey
{
public:
    CPathKey() = default;
    explicit CPathKey(QStringView path);

    bool IsEmpty() const { return m_strKey.isEmpty(); }
    bool HasVariable() const { return m_bVariable; }
    // The normalised path: folded case, '/' separators, no trailing one.
    const QString &Key() const { return m_strKey; }
    // Sorts a folder right before everything inside it.
    QString SortKey() const;

    bool operator==(const CPathKey &other) const { return m_strKey == other.m_strKey; }
    // Whether `inner` lies inside this folder (not the folder itself). Never
    // true when either path names a variable.
    bool Contains(const CPathKey &inner) const;
    // Textual containment only, variables or not (what sorting relies on).
    bool IsPrefixFolderOf(const CPathKey &inner) const;

private:
    QString m_strKey;
    bool m_bVariable = false;
};
