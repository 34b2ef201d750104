#pragma once
// A folder path as Windows resolves it, for comparing the folders of actions:
// letter case ignored, '\' and '/' alike, the trailing spaces and dots of each
// name dropped, "." and ".." resolved without climbing above the root, and
// the prefixes \\?\, \\.\ and \\?\UNC\ taken off. The root says where the
// path starts: a drive, a share, the current drive, the current folder of a
// drive, the working folder or an environment variable (%NAME%). Paths are
// the same, or one holds the other, only when that follows whatever their
// root resolves to; a path holding a character Windows forbids in names
// resolves to nothing and is related to nothing.

#include <QString>
#include <QStringView>

class CPathKey
{
public:
    // What makes a path resolve other than as written, or not at all.
    enum Form : unsigned {
        kWorkingFolder = 0x01, // "Reports", "..\x"
        kDriveFolder = 0x02,   // "C:Data"
        kCurrentDrive = 0x04,  // "\Shared\Docs"
        kQuote = 0x08,         // a double quote
        kEdgeSpace = 0x10,     // a space before or after the path
        kTrailingDot = 0x20,   // a name ending in a dot or a space, which Windows drops
        kForbidden = 0x40,     // <>|?*, a control character, ':' outside the drive
    };

    CPathKey() = default;
    explicit CPathKey(QStringView path);

    // No path at all (empty or blank).
    bool IsEmpty() const { return !m_bText; }
    // Whether the path resolves to a folder that can be compared.
    bool Resolves() const { return !m_strKey.isEmpty(); }
    // Form bits: what is unusual about how the path is written.
    unsigned FormFlags() const { return m_nForm; }
    // A drive root ("G:\") or a bare share ("\\srv\share"), nothing below it.
    bool IsRoot() const { return m_bRoot; }

    // The resolved path: its root, then '/' and each name, in folded case.
    const QString &Key() const { return m_strKey; }
    // Sorts a folder right before everything inside it.
    QString SortKey() const;

    bool operator==(const CPathKey &other) const { return Resolves() && m_strKey == other.m_strKey; }
    // Whether `inner` lies inside this folder (not the folder itself).
    bool Contains(const CPathKey &inner) const;
    // The same, the same folder, or this one inside `other`.
    bool Overlaps(const CPathKey &other) const { return *this == other || Contains(other) || other.Contains(*this); }

private:
    QString m_strKey;
    unsigned m_nForm = 0;
    bool m_bText = false;
    bool m_bRoot = false;
};
