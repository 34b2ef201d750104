#include "app/RecoveryOffer.h"

#include "app/ChangeDetector.h"
#include "app/EditHistory.h"
#include "app/RecoveryFile.h"
#include "framework/Clock.h"
#include "framework/FileName.h"
#include "framework/FileSaver.h"
#include "framework/ModalUi.h"
#include "script/SynchArray.h"
#include "scripttree/BranchBuilder.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QStringList>

#include <sys/stat.h>

namespace {

QString Actions(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 action") : QStringLiteral("%1 actions").arg(count);
}

LoadOptions Quiet()
{
    // Invalid dates were the user's own typing, or reported when the file loaded.
    LoadOptions options;
    options.reportInvalidDates = false;
    return options;
}

} // namespace

QString CRecoveryOffer::Changes(const CSynchArray &opened, const CSynchArray &edited)
{
    QStringList parts;
    if (!opened.m_Default.IsEqual(edited.m_Default))
        parts << QStringLiteral("Default changed");
    const qsizetype common = qMin(opened.GetSize(), edited.GetSize());
    qsizetype changed = 0;
    for (qsizetype i = 0; i < common; ++i)
        changed += opened.GetAt(i)->IsEqual(*edited.GetAt(i)) ? 0 : 1;
    if (changed)
        parts << Actions(changed) + QStringLiteral(" changed");
    if (edited.GetSize() > common)
        parts << Actions(edited.GetSize() - common) + QStringLiteral(" added");
    if (opened.GetSize() > common)
        parts << Actions(opened.GetSize() - common) + QStringLiteral(" removed");
    return parts.isEmpty() ? QStringLiteral("no setting changed") : parts.join(QStringLiteral(", "));
}

QString CRecoveryOffer::When(const QDateTime &written, const QDate &today)
{
    const QDateTime local = written.toLocalTime();
    return local.toString(local.date() == today ? QStringLiteral("HH:mm") : QStringLiteral("yyyy-MM-dd HH:mm"));
}

RecoveryAnswer CRecoveryOffer::Offer(const RecoveryContents &contents)
{
    CSynchArray edited;
    edited.LoadScriptFromBytes(contents.script, m_document.m_ScriptFile.m_strPath, nullptr, Quiet());
    if (edited.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed
        || CChangeDetector::SameScript(m_document, edited))
        return RecoveryAnswer::Discard;
    const QString script = m_strName.isEmpty() ? QStringLiteral("A new script") : ShownFileName(m_strName);
    // Like a swap file older than its file, edits made before the file last
    // changed are measured against a file their editor never saw.
    struct stat file
    {
    };
    const QString since =
        !m_strName.isEmpty() && ::stat(CFileSaver::Native(m_strName).constData(), &file) == 0
                && QDateTime::fromMSecsSinceEpoch(file.st_mtim.tv_sec * 1000 + file.st_mtim.tv_nsec / 1000000)
                       > contents.written
            ? QStringLiteral(" The file has been saved since they were made.")
            : QString();
    const QString text =
        QStringLiteral("%1 has unsaved edits of %2: %3.%4\n\n"
                       "The editor that made them ended before saving them. Recover them as unsaved edits "
                       "(Undo takes them back), discard them, or decide later?")
            .arg(script, When(contents.written, Clock().NowUtc().toLocalTime().date()), Changes(m_document, edited),
                 since);
    const int chosen = ModalUi().AskChoice(
        text, {QStringLiteral("&Recover"), QStringLiteral("&Discard"), QStringLiteral("&Later")}, 2);
    const RecoveryAnswer answer = chosen < 0 ? RecoveryAnswer::Later : RecoveryAnswer(chosen);
    if (answer == RecoveryAnswer::Recover && !Recover(contents.script))
        return RecoveryAnswer::Later;
    return answer;
}

bool CRecoveryOffer::Recover(const QByteArray &script)
{
    CRedrawGuard noRedraw(&m_tree);
    auto step = std::make_unique<CEditStep>(CEditStep::CurrentOf(m_tree));
    auto swap = std::make_unique<CScriptSwapEdit>(m_tree);
    CSynchArray edited;
    CBranchBuilder builder(m_tree);
    edited.LoadScriptFromBytes(script, m_document.m_ScriptFile.m_strPath, &builder, Quiet());
    if (edited.m_ScriptFile.LastReadStatus() == ScriptReadStatus::Failed) {
        swap->Undo(m_tree); // the script as opened stays
        return false;
    }
    builder.AddRootsToTree();
    step->Add(std::move(swap));
    step->SetCurrentAfter(CEditStep::CurrentOf(m_tree));
    m_history.Push(std::move(step));
    return true;
}
