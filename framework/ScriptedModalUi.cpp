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

// Records the question and gives the next queued answer, or `unanswered`
// when none is queued, which is unexpected.
template <typename T>
T ScriptedModalUi::Answer(std::deque<T> &queue, const QString &text, const QString &kind, T unanswered)
{
    questions << text;
    if (queue.empty()) {
        unexpected << kind + text;
        return unanswered;
    }
    const T answer = queue.front();
    queue.pop_front();
    return answer;
}

void ScriptedModalUi::ShowMessage(const QString &text)
{
    messages << text;
}

SaveAnswer ScriptedModalUi::AskSaveDiscardCancel(const QString &text)
{
    return Answer(saveAnswers, text, QStringLiteral("question: "), SaveAnswer::Cancel);
}

int ScriptedModalUi::AskChoice(const QString &text, const QStringList &, int escape)
{
    return Answer(choices, text, QStringLiteral("choice: "), escape);
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
