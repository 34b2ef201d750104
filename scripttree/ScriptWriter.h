#pragma once
// Turns what the options tree shows back into script text: the lines before
// the first header, one section per root in tree order, then the sections the
// editor did not load. Within a section, rows are recognised by their labels
// in catalogue order; an item the writer does not recognise is passed over.
// Lines end with CR LF; every section is followed by one empty line.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <utility>
#include <vector>

class CSynchArray;
enum class SettingGroup;
class CTreeOptionsCtrl;
class QTreeWidgetItem;

class CScriptWriter
{
public:
    CScriptWriter(const CSynchArray &document, const CTreeOptionsCtrl &tree);

    // The whole script text.
    QString ScriptText();

    // The same in steps, for a caller that must not hold its thread for a
    // big script or that encodes the text as it goes: Begin; then WriteRoots
    // over the roots in order (or WriteRoot for each root as soon as it is
    // built), taking the text so far with TakeText whenever it likes; then End
    // for the rest. The tree must not change between the steps.
    void Begin();
    void WriteRoots(int first, int count);
    void WriteRoot(const QTreeWidgetItem *root) { WriteSection(root); }
    QString TakeText() { return std::exchange(m_out, QString()); }
    QString End();
    int RootCount() const;

private:
    // Appends one section for `root` (nothing for a "Default" root that has
    // neither items nor lines).
    void WriteSection(const QTreeWidgetItem *root);

    // A mask while the group that holds its boxes is written.
    struct Mask
    {
        int field = 0;          // its setting in SettingFields()
        int lastRow = 0;        // the catalogue row of its last box
        bool seen = false;      // a box of it is in the branch
        bool changed = false;   // a box is missing its memory or shows something else
        int boxes = 0;          // boxes found
        quint32 bits = 0;       // the checked boxes
        quint32 outside = 0;    // bits without a box, from the line as read
        QStringView raw;        // the value as read (in the first box's memory)
        bool hasRaw = false;
    };

    void WriteText(QStringView text);
    void WriteLine(const QString &key, QStringView value);
    void WriteLevel(const QTreeWidgetItem *parent, SettingGroup level);
    void WriteRow(int row, const QTreeWidgetItem *item, const QString &text);
    void WriteOperation(int row, const QTreeWidgetItem *item, const QString &text, const QTreeWidgetItem *prompt);
    void AddMaskBox(int row, const QTreeWidgetItem *item, bool unchanged);
    QString ShownText(const QTreeWidgetItem *item) const;
    void FlushMask(Mask &mask);
    // Writes the masks whose boxes all come before catalogue row `row`.
    void FlushMasksBefore(int row);
    void WritePreamble();
    void WriteUnloadedSections();

    const CSynchArray &m_document;
    const CTreeOptionsCtrl &m_tree;
    QStringList m_keys;
    QStringList m_labels;
    QString m_out;
    bool m_bDefault = false;
    int m_radioWritten = -1;  // the setting whose selected radio button the section has written
    std::vector<Mask> m_masks;
};
