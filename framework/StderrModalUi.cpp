#include "framework/StderrModalUi.h"

#include "framework/LosslessUtf8.h"

#include <QStringList>

#include <cstdio>

QString StderrModalUi::OneLine(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    // "Cannot read the file "x".: cause" reads badly: a sentence's full stop
    // gives way to the colon that joins it to the next line.
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        if (lines[i].endsWith(QLatin1Char('.')))
            lines[i].chop(1);
    return lines.join(QStringLiteral(": "));
}

void StderrModalUi::ShowMessage(const QString &text)
{
    // A value's bytes that were not UTF-8 go out as they came in.
    std::fprintf(stderr, "%s\n", EncodeUtf8Lossless(OneLine(text)).constData());
    std::fflush(stderr);
}

SaveAnswer StderrModalUi::AskSaveDiscardCancel(const QString &text)
{
    ShowMessage(text + QStringLiteral("\n(answered Cancel)"));
    return SaveAnswer::Cancel;
}

int StderrModalUi::AskChoice(const QString &text, const QStringList &, int)
{
    ShowMessage(text + QStringLiteral("\n(not answered)"));
    return -1;
}

std::optional<QString> StderrModalUi::ChooseFile(const FileDialogRequest &)
{
    return std::nullopt;
}
std::optional<QString> StderrModalUi::ChooseFolder(const QString &, const QString &)
{
    return std::nullopt;
}
std::optional<COLORREF> StderrModalUi::ChooseColour(COLORREF)
{
    return std::nullopt;
}
std::optional<CLogFont> StderrModalUi::ChooseFont(const CLogFont &)
{
    return std::nullopt;
}
