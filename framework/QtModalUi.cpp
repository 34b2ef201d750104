#include "framework/QtModalUi.h"

#include "framework/AppTitle.h"
#include "framework/ColourFont.h"
#include "framework/FileFilter.h"
#include "framework/FileName.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPushButton>

namespace {
QWidget *ActiveParent()
{
    return QApplication::activeWindow();
}
} // namespace

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

int QtModalUi::AskChoice(const QString &text, const QStringList &choices, int escape)
{
    QMessageBox box(QMessageBox::Question, AppTitle(), text, QMessageBox::NoButton, ActiveParent());
    QList<QAbstractButton *> buttons;
    for (const QString &choice : choices)
        buttons << box.addButton(choice, QMessageBox::AcceptRole);
    if (!buttons.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
    // Without a button for Esc or the window's close button, only a choice closes it.
    if (escape >= 0 && escape < buttons.size())
        box.setEscapeButton(buttons[escape]);
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
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
