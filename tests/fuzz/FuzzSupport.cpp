#include "FuzzSupport.h"

#include "framework/ModalUi.h"

#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <ctime>

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
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
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
