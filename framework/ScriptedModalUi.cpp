#include "framework/ScriptedModalUi.h"

namespace {
template <typename T>
std::optional<T> Next(std::deque<std::optional<T>> &queue, QStringList &unexpected, const QString &what)
{
    if (queue.empty()) {
        unexpected << what;
        return std::nullopt;
    }
    const std::optional<T> answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}
} // namespace

void ScriptedModalUi::ShowMessage(const QString &text) { messages << text; }

bool ScriptedModalUi::AskYesNo(const QString &text)
{
    questions << text;
    if (answers.empty()) {
        unexpected << QStringLiteral("question: ") + text;
        return false;
    }
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

SaveAnswer ScriptedModalUi::AskSaveDiscardCancel(const QString &text)
{
    questions << text;
    if (saveAnswers.empty()) {
        unexpected << QStringLiteral("question: ") + text;
        return SaveAnswer::Cancel;
    }
    const SaveAnswer answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

int ScriptedModalUi::AskChoice(const QString &text, const QStringList &)
{
    questions << text;
    if (choices.empty()) {
        unexpected << QStringLiteral("choice: ") + text;
        return -1;
    }
    const int chosen = choices.front();
    choices.pop_front();
    return chosen;
}

RecoveryAnswer ScriptedModalUi::AskRecoverDiscard(const QString &text)
{
    questions << text;
    if (recoveryAnswers.empty()) {
        unexpected << QStringLiteral("recovery: ") + text;
        return RecoveryAnswer::Later;
    }
    const RecoveryAnswer answer = recoveryAnswers.front();
    recoveryAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedModalUi::ChooseFile(const FileDialogRequest &request)
{
    fileRequests << request;
    return Next(fileChoices, unexpected, QStringLiteral("file dialog"));
}

std::optional<QString> ScriptedModalUi::ChooseFolder(const QString &, const QString &startDir)
{
    folderRequests << startDir;
    return Next(folderChoices, unexpected, QStringLiteral("folder picker"));
}

std::optional<COLORREF> ScriptedModalUi::ChooseColour(COLORREF)
{
    return Next(colourChoices, unexpected, QStringLiteral("colour picker"));
}

std::optional<CLogFont> ScriptedModalUi::ChooseFont(const CLogFont &)
{
    return Next(fontChoices, unexpected, QStringLiteral("font picker"));
}
