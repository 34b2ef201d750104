#pragma once
#include "framework/ModalUi.h"

#include <QList>
#include <QStringList>
#include <deque>

// The test double of IModalUi: records every message and question and answers
// from queues the test fills beforehand. A dialog the test did not expect
// (its queue is empty) is recorded in `unexpected` and answered Cancel, or
// as Esc would answer it. Information is recorded with the messages.
class ScriptedModalUi final : public IModalUi
{
public:
    QStringList messages;  // every ShowMessage text, in order
    QStringList questions; // every question's text, in order
    QList<FileDialogRequest> fileRequests;
    QStringList folderRequests; // the start folder of each folder picker
    QStringList unexpected;     // dialogs that found their queue empty

    std::deque<SaveAnswer> saveAnswers;                // AskSaveDiscardCancel
    std::deque<int> choices;                           // AskChoice: the index chosen
    std::deque<std::optional<QString>> fileChoices;    // ChooseFile
    std::deque<std::optional<QString>> folderChoices;  // ChooseFolder
    std::deque<std::optional<COLORREF>> colourChoices; // ChooseColour
    std::deque<std::optional<CLogFont>> fontChoices;   // ChooseFont

    void ShowMessage(const QString &text) override;
    SaveAnswer AskSaveDiscardCancel(const QString &text) override;
    int AskChoice(const QString &text, const QStringList &choices, int escape) override;
    std::optional<QString> ChooseFile(const FileDialogRequest &request) override;
    std::optional<QString> ChooseFolder(const QString &title, const QString &startDir) override;
    std::optional<COLORREF> ChooseColour(COLORREF initial) override;
    std::optional<CLogFont> ChooseFont(const CLogFont &initial) override;

private:
    template <typename T>
    T Answer(std::deque<T> &queue, const QString &text, const QString &kind, T unanswered);
};
