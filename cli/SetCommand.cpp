#include "cli/SetCommand.h"

#include "cli/Commands.h"
#include "cli/LocaleOption.h"
#include "cli/StandardStreams.h"
#include "cli/UnifiedDiff.h"
#include "framework/FileName.h"
#include "framework/ModalUi.h"
#include "script/DateValue.h"
#include "script/SettingFields.h"
#include "script/SettingValueCheck.h"
#include "script/SynchArray.h"
#include "scripttree/ScriptTree.h"
#include "scripttree/ScriptTreeRoles.h"
#include "scripttree/ScriptWriter.h"
#include "scripttree/SettingSetter.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QRegularExpression>

#include <memory>

namespace {

// One SECTION.KEY=VALUE (or, unsetting, SECTION.KEY) of the command line.
struct Assignment
{
    QString text;    // as given, for messages
    QString section; // a name or a pattern
    QString key;
    QString value;
    bool unset = false;
    const SettingField *field = nullptr; // null: a key the editor does not show
    QList<QTreeWidgetItem *> roots;
};

const SettingField *ShownField(const QString &key)
{
    for (const SettingField &field : SettingFields())
        if (field.IsShown() && key.compare(field.Key(), Qt::CaseInsensitive) == 0)
            return &field;
    return nullptr;
}

// The roots SECTION names: the loaded sections it matches, compared as the
// loader compares names ('*' and '?' stand for any text and any character).
QList<QTreeWidgetItem *> MatchingRoots(const CTreeOptionsCtrl &tree, const QString &section)
{
    const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(section),
                                     QRegularExpression::CaseInsensitiveOption);
    QList<QTreeWidgetItem *> roots;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (pattern.match(tree.topLevelItem(i)->text(0)).hasMatch())
            roots << tree.topLevelItem(i);
    return roots;
}

// A key the editor does not show, set or taken away among the root's carried lines.
void SetKeptLine(QTreeWidgetItem *root, const Assignment &assignment)
{
    CRootLines lines = RootLinesOf(root);
    bool set = false;
    for (qsizetype i = 0; i < lines.keptLines.size(); ++i) {
        const QString &line = lines.keptLines[i];
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || QStringView(line).left(equals).compare(assignment.key, Qt::CaseInsensitive) != 0)
            continue;
        if (assignment.unset || set) {
            lines.keptLines.remove(i--);
        } else {
            lines.keptLines[i] = line.left(equals + 1) + assignment.value;
            set = true;
        }
    }
    if (!assignment.unset && !set)
        lines.keptLines << assignment.key + u'=' + assignment.value;
    SetRootLines(root, lines);
}

void Refuse(const QString &file, const Assignment &assignment, const QString &why)
{
    ModalUi().ShowMessage(
        QStringLiteral("mbscript set: %1: \"%2\" refused: %3").arg(ShownFileName(file), assignment.text, why));
}

} // namespace

int RunSet(const QStringList &arguments)
{
    if (arguments.size() == 1 && (arguments[0] == QLatin1String("--help") || arguments[0] == QLatin1String("-h")))
        return PrintCommandHelp("set");
    bool dryRun = false, diff = false, force = false, optionsEnd = false;
    std::optional<QLocale> locale;
    QString file;
    std::vector<Assignment> assignments;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        bool unset = false;
        QString operand = argument;
        if (!optionsEnd && argument == QLatin1String("--dry-run")) {
            dryRun = true;
            continue;
        } else if (!optionsEnd && argument == QLatin1String("--diff")) {
            diff = true;
            continue;
        } else if (!optionsEnd && argument == QLatin1String("--force")) {
            force = true;
            continue;
        } else if (!optionsEnd
                   && (argument == QLatin1String("--locale") || argument.startsWith(QLatin1String("--locale=")))) {
            const bool joined = argument.size() > 8;
            const std::optional<QString> name = joined                     ? std::optional(argument.mid(9))
                                                : i + 1 < arguments.size() ? std::optional(arguments[++i])
                                                                           : std::nullopt;
            if (const int status = ReadLocaleOption("set", name, locale); status >= 0)
                return status;
            continue;
        } else if (!optionsEnd
                   && (argument == QLatin1String("--unset") || argument.startsWith(QLatin1String("--unset=")))) {
            if (argument.size() == 7 && i + 1 == arguments.size())
                return UsageError(QStringLiteral("mbscript set: --unset needs a SECTION.KEY"));
            operand = argument.size() > 7 ? argument.mid(8) : arguments[++i];
            unset = true;
        } else if (!optionsEnd && argument == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        } else if (!optionsEnd && argument.startsWith(u'-') && argument.size() > 1) {
            return UsageError(QStringLiteral("mbscript set: unknown option \"%1\"").arg(argument));
        } else if (file.isEmpty()) {
            file = argument;
            continue;
        }
        const qsizetype dot = operand.indexOf(u'.');
        const qsizetype equals = operand.indexOf(u'=');
        if (dot <= 0 || (unset ? equals >= 0 : equals < dot + 2))
            return UsageError(
                QStringLiteral("mbscript set: \"%1\" is not %2")
                    .arg(operand, unset ? QStringLiteral("SECTION.KEY") : QStringLiteral("SECTION.KEY=VALUE")));
        Assignment assignment;
        assignment.text = operand;
        assignment.section = operand.left(dot);
        assignment.key = unset ? operand.mid(dot + 1) : operand.mid(dot + 1, equals - dot - 1);
        assignment.value = unset ? QString() : operand.mid(equals + 1);
        assignment.unset = unset;
        assignments.push_back(assignment);
    }
    if (dryRun && diff)
        return UsageError(QStringLiteral("mbscript set: --dry-run and --diff exclude each other"));
    if (file.isEmpty() || assignments.empty())
        return UsageError(QStringLiteral("mbscript set: FILE and at least one SECTION.KEY=VALUE or --unset expected"));
    std::unique_ptr<CScopedDateLocale> dates;
    if (locale)
        dates = std::make_unique<CScopedDateLocale>(*locale);

    // The document and tree live until the process ends, which main ends
    // without running destructors.
    const QString path = InputPath(file);
    CSynchArray &document = *new CSynchArray;
    CTreeOptionsCtrl &tree = *new CTreeOptionsCtrl; // never shown
    LoadOptions options;
    options.reportInvalidDates = false;
    LoadScriptWithTree(document, path, tree, options);
    if (document.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed)
        return kExitUsage;
    if (document.m_ScriptFile.LastReadStatus() != ScriptReadStatus::Read) {
        ModalUi().ShowMessage(
            QStringLiteral("mbscript set: %1 is empty: it holds no section to set").arg(ShownFileName(file)));
        return kExitUnreadable;
    }

    // Every assignment is checked before anything changes.
    bool refused = false;
    for (Assignment &assignment : assignments) {
        assignment.field = ShownField(assignment.key);
        assignment.roots = MatchingRoots(tree, assignment.section);
        if (assignment.roots.isEmpty()) {
            Refuse(file, assignment, QStringLiteral("no section the engine reads matches %1").arg(assignment.section));
            refused = true;
        } else if (!assignment.field && !force) {
            Refuse(file, assignment,
                   QStringLiteral("%1 is not a setting the editor knows (--force sets it as written)")
                       .arg(assignment.key));
            refused = true;
        } else if (assignment.field && !assignment.unset) {
            const CheckedValue checked = CheckSettingValue(*assignment.field, assignment.value);
            if (!checked.ok) {
                Refuse(file, assignment,
                       QStringLiteral("%1 %2").arg(assignment.value.isEmpty()
                                                       ? QStringLiteral("an empty value")
                                                       : QStringLiteral("\"%1\"").arg(assignment.value),
                                                   checked.error));
                refused = true;
            }
            assignment.value = checked.value;
        }
    }
    if (refused)
        return kExitUnreadable;
    if (dryRun)
        return kExitOk;

    CSettingSetter setter(tree);
    for (const Assignment &assignment : assignments) {
        for (QTreeWidgetItem *root : assignment.roots) {
            if (!assignment.field)
                SetKeptLine(root, assignment);
            else if (assignment.unset)
                setter.Unset(root, *assignment.field);
            else
                setter.Set(root, *assignment.field, assignment.value);
        }
    }
    if (diff) {
        const QString text = CScriptWriter(document, tree).ScriptText();
        // Written whole: a script's text may hold a NUL.
        const QByteArray patch = UnifiedDiff(document.m_ScriptFile.Text(), text, DiffFileName(file)).toUtf8();
        std::fwrite(patch.constData(), 1, size_t(patch.size()), stdout);
        return std::ferror(stdout) ? kExitUnwritable : kExitOk;
    }
    return WriteScript(document, OutputPath(file), tree) ? kExitOk : kExitUnwritable;
}
