#pragma once
// Every modal interaction of the program (message boxes, questions, file,
// folder, colour and font pickers) goes through IModalUi, so that tests answer
// them with a scripted double and headless tools print messages to stderr.

#include "framework/ColourTypes.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

struct FileDialogRequest
{
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;        // empty: the toolkit's own caption
    QString filter;       // Windows form, e.g. "All Files|*.*||"
    QString initialDir;   // empty: the toolkit's choice
    QString initialFile;  // file name or full path
    QString okButtonText; // empty: the toolkit's own caption
    bool fileMustExist = false;
    bool overwritePrompt = false;
};

// The answer to the question before work is lost.
enum class SaveAnswer { Save, Discard, Cancel };

class IModalUi
{
public:
    virtual ~IModalUi() = default;

    // A message with an OK button, captioned with the application title.
    virtual void ShowMessage(const QString &text) = 0;
    // The same for news that is no warning (the About box).
    virtual void ShowInformation(const QString &text) { ShowMessage(text); }
    // The question before unsaved work is lost: Save (Alt+S, the default),
    // Discard (Alt+D) or Cancel (Esc, the window's close button), which must
    // leave everything as it was.
    virtual SaveAnswer AskSaveDiscardCancel(const QString &text) = 0;
    // A question answered by one of `choices` (button captions, the first the
    // default): the index of the one chosen, or -1 when none was (a tool
    // without a window). Esc and the window's close button answer `escape`;
    // without one (-1) they leave the question open.
    virtual int AskChoice(const QString &text, const QStringList &choices, int escape = -1) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> ChooseFile(const FileDialogRequest &request) = 0;
    virtual std::optional<QString> ChooseFolder(const QString &title, const QString &startDir) = 0;
    virtual std::optional<COLORREF> ChooseColour(COLORREF initial) = 0;
    virtual std::optional<CLogFont> ChooseFont(const CLogFont &initial) = 0;
};

// The instance every subsystem talks to. Until one is installed it is the
// stderr implementation, so tools without a window never block.
IModalUi &ModalUi();
// Installs `ui` (not owned); nullptr restores the stderr implementation.
void SetModalUi(IModalUi *ui);

// Installs a modal UI for the lifetime of a scope (tests, tools).
class ScopedModalUi
{
public:
    explicit ScopedModalUi(IModalUi &ui);
    ~ScopedModalUi();
    ScopedModalUi(const ScopedModalUi &) = delete;
    ScopedModalUi &operator=(const ScopedModalUi &) = delete;

private:
    IModalUi *m_previous;
};
