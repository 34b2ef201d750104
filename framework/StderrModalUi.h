#pragma once
#include "framework/ModalUi.h"

// The modal UI of tools without a window: every message becomes one line on
// stderr, every question is answered No (or Cancel, which loses nothing) and
// every picker is cancelled.
class StderrModalUi final : public IModalUi
{
public:
    // A message of several lines is printed on one line, its lines joined by ": ".
    static QString OneLine(const QString &text);

    void ShowMessage(const QString &text) override;
    SaveAnswer AskSaveDiscardCancel(const QString &text) override;
    int AskChoice(const QString &text, const QStringList &choices, int escape) override;
    std::optional<QString> ChooseFile(const FileDialogRequest &request) override;
    std::optional<QString> ChooseFolder(const QString &title, const QString &startDir) override;
    std::optional<COLORREF> ChooseColour(COLORREF initial) override;
    std::optional<CLogFont> ChooseFont(const CLogFont &initial) override;
};
