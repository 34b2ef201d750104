#pragma once
// Many short texts searched at once, as find searches every label and value of
// a script: each entry's fields are normalized once, as a finder that ignores
// case compares them, and kept in one text, so a search is one pass over it.

#include <QString>
#include <QStringView>

#include <vector>

class CTextFinder;

class CTextIndex
{
public:
    void Clear();
    // Adds an entry of two fields (a label and a value); returns its number.
    int Add(QStringView first, QStringView second = {});
    int Count() const { return int(m_starts.size()); }
    // The entries a field of which holds the finder's text, ascending. The
    // finder must ignore case.
    std::vector<int> Matching(const CTextFinder &finder) const;

private:
    QString m_strText;               // each field ends with a line break, each entry with a NUL
    std::vector<qsizetype> m_starts; // where each entry starts in the text
};
