#pragma once
// The rules about values as written: dates the locale cannot read, numbers
// with junk, out of range or not a flag, codes the editor has no text for, an
// action's empty value that wipes out what "Default" sets, paths that do not
// resolve as written and masks run together with spaces. Runs after the
// reading rules, which find the line of each key.

#include <QString>
#include <QStringView>

#include <functional>

class CCheckContext;
class CSection;
struct SettingField;

class CValueRules
{
public:
    explicit CValueRules(CCheckContext &context) : m_context(context) {}
    // The values of loaded section `index`.
    void CheckSection(size_t index);

private:
    void CheckValue(const CSection &section, const QString &name, bool isDefault, const SettingField &field,
                    qsizetype lineIndex);
    void CheckPathForm(const QString &name, const SettingField &field, QStringView raw,
                       const std::function<qsizetype()> &line);
    void CheckMaskForm(const QString &name, QStringView raw, const std::function<qsizetype()> &line);
    // False when the text is no clean number (reported).
    // `line` gives the value's line, asked only when there is something to report.
    bool CheckNumber(const QString &name, const SettingField &field, QStringView raw,
                     const std::function<qsizetype()> &line, qint64 &value);

    CCheckContext &m_context;
};
