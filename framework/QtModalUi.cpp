#include "framework/QtModalUi.h"

#include "framework/AppTitle.h"
#include "framework/ColourFont.h"
#include "framework/FileFilter.h"
#include "framework/FileName.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace {
QWidget *ActiveParent() { return QApplication::activeWindow(); }
} // namespace

YesNoMessageBox::YesNoMessageBox(const QString &text, QWidget *parent)
    : QMessageBox(QMessageBox::Question, AppTitle(), text, QMessageBox::Yes | QMessageBox::No, parent)
{
    setDefaultButton(QMessageBox::Yes);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
}

void YesNoMessageBox::keyPressEvent(QKeyEvent *event)
{
    // QMessageBox would take Esc (and the close shortcut) as No.
    if (event->matches(QKeySequence::Cancel) || event->matches(QKeySequence::Close)) {
        event->accept();
        return;
    }
    QMessageBox::keyPressEvent(event);
}

void YesNoMessageBox::closeEvent(QCloseEvent *event) { event->ignore(); }

void QtModalUi::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, AppTitle(), text, QMessageBox::Ok, ActiveParent());
    box.exec();
}

void QtModalUi::ShowInformation(const QString &text)
{
    QMessageBox box(QMessageBox::Information, AppTitle(), text, QMessageBox::Ok, ActiveParent());
    box.exec();
}

bool QtModalUi::AskYesNo(const QString &text)
{
    YesNoMessageBox box(text, ActiveParent());
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

SaveAnswer QtModalUi::AskSaveDiscardCancel(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, AppTitle(), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, ActiveParent());
    // The platform's texts may lack mnemonics; these have them everywhere.
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Save))
        return SaveAnswer::Save;
    return box.clickedButton() == box.button(QMessageBox::Discard) ? SaveAnswer::Discard : SaveAnswer::Cancel;
}

int QtModalUi::AskChoice(const QString &text, const QStringList &choices)
{
    // Without a button for Esc or the window's close button, only a choice closes it.
    QMessageBox box(QMessageBox::Question, AppTitle(), text, QMessageBox::NoButton, ActiveParent());
    QList<QAbstractButton *> buttons;
    for (const QString &choice : choices)
        buttons << box.addButton(choice, QMessageBox::AcceptRole);
    if (!buttons.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

RecoveryAnswer QtModalUi::AskRecoverDiscard(const QString &text)
{
    QMessageBox box(QMessageBox::Question, AppTitle(), text, QMessageBox::NoButton, ActiveParent());
    QPushButton *recover = box.addButton(QStringLiteral("&Recover"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(QStringLiteral("&Discard"), QMessageBox::DestructiveRole);
    QPushButton *later = box.addButton(QStringLiteral("&Later"), QMessageBox::RejectRole);
    box.setDefaultButton(recover);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == recover)
        return RecoveryAnswer::Recover;
    return box.clickedButton() == discard ? RecoveryAnswer::Discard : RecoveryAnswer::Later;
}

std::optional<QString> QtModalUi::ChooseFile(const FileDialogRequest &request)
{
    QFileDialog dialog(ActiveParent(), request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    const QStringList filters = FileFilterToNameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!request.okButtonText.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, request.okButtonText);
    const QString start = NearestExistingFolder(request.initialDir);
    if (!start.isEmpty())
        dialog.setDirectory(start);
    if (!request.initialFile.isEmpty()) {
        const QFileInfo file(request.initialFile);
        if (file.isAbsolute()) {
            const QString folder = NearestExistingFolder(file.path());
            if (!folder.isEmpty())
                dialog.setDirectory(folder);
            dialog.selectFile(file.fileName());
        } else {
            dialog.selectFile(request.initialFile);
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    QString refusal;
    const std::optional<QString> chosen = FileNameFromToolkit(dialog.selectedFiles().constFirst(), refusal);
    if (!chosen)
        ShowMessage(refusal);
    return chosen;
}

std::optional<QString> QtModalUi::ChooseFolder(const QString &title, const QString &startDir)
{
    QFileDialog dialog(ActiveParent(), title);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    const QString start = NearestExistingFolder(startDir);
    if (!start.isEmpty())
        dialog.setDirectory(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<COLORREF> QtModalUi::ChooseColour(COLORREF initial)
{
    QColorDialog dialog(ColorRefToQColor(initial), ActiveParent());
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return QColorToColorRef(dialog.selectedColor());
}

std::optional<CLogFont> QtModalUi::ChooseFont(const CLogFont &initial)
{
    QFontDialog dialog(LogFontToQFont(initial), ActiveParent());
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return QFontToLogFont(dialog.selectedFont(), initial.colour);
}
