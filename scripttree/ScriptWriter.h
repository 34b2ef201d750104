#pragma once
// Turns what the options tree shows back into script text. Within a section,
// rows are recognised by their labels in catalogue order; an item the writer
// does not recognise is passed over.
//
// A tree loaded from a script (it holds the script's layout) is written in
// the script's own layout: everything the user did not change is written as
// it was read, in its place. A root keeps its section's lines; a changed
// value rewrites its own line, a removed setting takes its line and the dead
// duplicates of its key with it, an added one goes after the nearest setting
// before it in the catalogue that the section holds (first when none). A
// moved root carries its lines; a root that is new, or whose carried lines
// changed otherwise than by lines added at the end, is written anew. The
// sections the editor does not load keep their places; a dead duplicate of a
// loaded section stays while the section it duplicates is written before it.
//
// A tree without a layout (a new script, a normalising resave) is written in
// catalogue order: the lines before the first header, one section per root
// in tree order, then the sections the editor did not load. Lines end with
// CR LF; every section is followed by one empty line. New sections in a
// layout are written so too, with the script's own line end.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <utility>
#include <vector>

class CSynchArray;
enum class SettingGroup;
class CTreeOptionsCtrl;
class QTreeWidgetItem;
class CScriptLayout;
struct CRootSource;

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
    // for the rest. The tree must not change between the steps, which go
    // over the roots in order (`first` is where the last step ended).
    void Begin();
    void WriteRoots(int first, int count);
    QString TakeText() { return std::exchange(m_out, QString()); }
    QString End();
    int RootCount() const;

    // For a caller that builds one root at a time, in load order, and lets
    // each go once it is written: BeginStream instead of Begin, then
    // WriteRoot for each, then End. A root that comes before its section's
    // turn in the layout is held, written, until the sections before it are.
    void BeginStream();
    void WriteRoot(const QTreeWidgetItem *root);

    // Whether the text keeps a script's layout (from its first line: an
    // encoder writes no line of its own after a byte-order mark).
    bool KeepsLayout() const;

private:
    // Appends one section for `root` (nothing for a "Default" root that has
    // neither items nor lines).
    void WriteSection(const QTreeWidgetItem *root);
    // A section no layout holds, after the lines before it (closing the last one).
    void WriteNewSection(const QTreeWidgetItem *root);
    static bool WritesNothing(const QTreeWidgetItem *root);

    // A mask while the group that holds its boxes is written.
    struct Mask
    {
        int field = 0;        // its setting in SettingFields()
        int lastRow = 0;      // the catalogue row of its last box
        bool seen = false;    // a box of it is in the branch
        bool changed = false; // a box is missing its memory or shows something else
        int boxes = 0;        // boxes found
        quint32 bits = 0;     // the checked boxes
        quint32 outside = 0;  // bits without a box, from the line as read
        QStringView raw;      // the value as read (in the first box's memory)
        bool hasRaw = false;
    };

    // One thing written, in the order of the layout: a root (merged with
    // its section when `section` is not -1, else written anew) or, without
    // a root, section `section` as it stands.
    struct Step
    {
        const QTreeWidgetItem *root;
        qsizetype section;
    };
    // What the layout and the tree make, in writing order.
    void PlanSteps();
    void WriteStep(const Step &step);
    // The root's section merged with what the root shows now.
    void WriteMerged(const QTreeWidgetItem *root, const CRootSource &source);
    // Text from the layout as it stands; the last line may lack its end.
    void WriteKept(QStringView text);
    // Ends a last line kept without its end before anything follows it.
    void CloseLine();
    // Writes the sections whose turn has come (at the end, all that are left).
    void StreamPending(bool ending);
    // The section `root` was loaded from in this tree's layout, or null.
    const CRootSource *SourceOf(const QTreeWidgetItem *root) const;

    void WriteText(QStringView text);
    void WriteLine(int row, QStringView value);
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
    std::shared_ptr<const CScriptLayout> m_layout;
    QStringView m_lineEnd;
    bool m_bLineOpen = false; // the text ends in a kept line without its end
    std::vector<Step> m_steps;
    size_t m_nextStep = 0;
    // Collecting a root's lines rather than writing them (row, value).
    bool m_bCollect = false;
    std::vector<std::pair<int, QString>> m_collected;
    // Streaming: the next section of the layout to write, and the roots
    // written before their turn, by section.
    bool m_bStreaming = false;
    qsizetype m_nextSection = 0;
    std::vector<std::pair<qsizetype, QString>> m_pending;
    int m_radioWritten = -1; // the setting whose selected radio button the section has written
    std::vector<Mask> m_masks;
};
