#include "FuzzSupport.h"

#include "TestLocale.h"
#include "framework/ModalUi.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Drops every message and declines every question and picker.
class QuietModalUi final : public IModalUi
{
public:
    void ShowMessage(const QString &) override {}
    SaveAnswer AskSaveDiscardCancel(const QString &) override { return SaveAnswer::Cancel; }
    int AskChoice(const QString &, const QStringList &, int) override { return -1; }
    std::optional<QString> ChooseFile(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<QString> ChooseFolder(const QString &, const QString &) override { return std::nullopt; }
    std::optional<COLORREF> ChooseColour(COLORREF) override { return std::nullopt; }
    std::optional<CLogFont> ChooseFont(const CLogFont &) override { return std::nullopt; }
};

} // namespace

void FuzzSetUp()
{
    static QuietModalUi quiet;
    SetModalUi(&quiet);
    UseBritishDates(kCentralEurope);
}

extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSetUp();
    return 0;
}

void FuzzCheck(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "Fuzz check failed: %s\n", what);
    std::abort();
}
