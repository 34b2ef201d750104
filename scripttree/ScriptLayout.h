#pragma once
// The text a script was loaded from and where its sections stand in it, kept
// by the tree so that a save writes every line the user did not change as it
// was read: its bytes, its line end, its place. Shared by the tree's roots
// and never changed; the text is the document's, shared rather than copied.

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

class CScriptFile;
class CSection;

class CScriptLayout
{
public:
    enum class Kind {
        Loaded,    // the section the loader reads for "Default" or an action
        Duplicate, // a later section of a loaded name: the loader never reads it
        Unloaded,  // any other name: kept as it stands
    };
    struct Place
    {
        qsizetype begin; // the header's '['
        qsizetype end;   // the next header's '[', or the end of the text
        Kind kind;
        // Loaded: the order the loader reads the sections in ("Default" 0, an action its number).
        qint64 loadOrder;
    };

    explicit CScriptLayout(const CScriptFile &file);

    QStringView Text() const { return m_text; }
    // The lines before the first header, line ends included.
    QStringView Preamble() const { return QStringView(m_text).left(m_preambleEnd); }
    const std::vector<Place> &Places() const { return m_places; }
    QStringView SectionText(qsizetype index) const;
    // The index of `section`, a section of the file the layout was made from.
    qsizetype IndexOf(const CSection *section) const;
    // The first line end of the text (CR LF when it has none).
    QStringView LineEnd() const { return m_lineEnd; }
    bool HasDuplicates() const { return m_bDuplicates; }

private:
    QString m_text;
    qsizetype m_preambleEnd = 0;
    std::vector<Place> m_places;
    QStringView m_lineEnd;
    bool m_bDuplicates = false;
};

using ScriptLayoutPtr = std::shared_ptr<const CScriptLayout>;
