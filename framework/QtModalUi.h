#pragma once
// The editor's modal UI: Qt message boxes and pickers, each captioned with the
// application title and owned by the active window.

#include "framework/ModalUi.h"

#include <QMessageBox>

class QtModalUi final : public IModalUi
{
public:
    void ShowMessage(const QString &text) override;
    void ShowInformation(const QString &text) override;
    SaveAnswer AskSaveDiscardCancel(const QString &text) override;
    int AskChoice(const QString &text, const QStringList &choices, int escape) override;
    std::optional<QString> ChooseFile(const FileDialogRequest &request) override;
    std::optional<QString> ChooseFolder(const QString &title, const QString &startDir) override;
    std::optional<COLORREF> ChooseColour(COLORREF initial) override;
    std::optional<CLogFont> ChooseFont(const CLogFont &initial) override;
};
