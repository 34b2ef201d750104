#pragma once
// What the loader tells whoever builds the options tree from a script. The
// loader itself knows nothing of trees: given a builder, it announces each
// root, each key it found and the end of each section, in load order.

#include <QString>
#include <QStringView>
#include <QtGlobal>

class CScriptFile;
class CSection;
class CSynchSettings;
struct SettingField;

class ISectionTreeBuilder
{
public:
    virtual ~ISectionTreeBuilder() = default;

    // The script has been read and its roots are about to be announced.
    virtual void ScriptRead(const CScriptFile &) {}

    // A new root: "Default" (always, first, also when the script has no such
    // section), then "Action%d" for each loaded action in ascending number.
    virtual void BeginRoot(const QString &name) = 0;

    // A key of the table of settings found in the current root's section, in
    // the order of that table. `field` says which (its catalogueRow is -1 for
    // the keys the tree does not show); `record` holds the values read so
    // far, this key's included; `rawValue` is the text after the '=' as it
    // stands in the file; `lineIndex` is the index of the stored line taken
    // (CSection::GetLine). `rawValue` is valid until EndRoot.
    virtual void KeyFound(const SettingField &field, const CSynchSettings &record, QStringView rawValue,
                          qsizetype lineIndex) = 0;

    // The end of the current root: `section` is the section it was read from,
    // or nullptr for a "Default" root without a section. `record` is the
    // finished record.
    virtual void EndRoot(const CSection *section, const CSynchSettings &record) = 0;
};
