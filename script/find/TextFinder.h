#pragma once
// Finds a text in values and labels as a user means it: `/` and `\` alike (a
// path is the same path written either way), case ignored unless it matters,
// and, when asked, only whole parts of a path, so `D:\Data` does not touch
// `D:\Database`. Replacing keeps everything around a match as it was written.

#include <QString>
#include <QStringMatcher>
#include <QStringView>

struct CTextFindOptions
{
    bool m_bMatchCase = false;
    // A match starts and ends at a path separator, a `;` or the text's ends.
    bool m_bWholePathParts = false;
};

class CTextFinder
{
public:
    explicit CTextFinder(const QString &needle = QString(), CTextFindOptions options = {});

    bool IsEmpty() const { return m_strNeedle.isEmpty(); }
    qsizetype Length() const { return m_strNeedle.size(); }

    // `text` as the finder compares it, as long as `text`: `/` as `\`, and
    // case folded unless case matters.
    QString Normalized(QStringView text) const { return Normalized(text, m_options.m_bMatchCase); }
    static QString Normalized(QStringView text, bool matchCase);

    // The first match in `text` at or after `from`; -1 when none.
    qsizetype IndexIn(QStringView text, qsizetype from = 0) const { return IndexInNormalized(Normalized(text), from); }
    // The same in a text already normalized.
    qsizetype IndexInNormalized(QStringView normalized, qsizetype from = 0) const;
    bool Holds(QStringView text) const { return IndexIn(text) >= 0; }

    // `text` with every match replaced by `replacement` (as typed); `count`
    // gets the number of matches.
    QString Replaced(QStringView text, const QString &replacement, int *count = nullptr) const;

private:
    bool IsWholePart(QStringView normalized, qsizetype at) const;

    QString m_strNeedle; // normalized
    CTextFindOptions m_options;
    QStringMatcher m_matcher;
};
