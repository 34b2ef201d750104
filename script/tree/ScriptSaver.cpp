#include "script/tree/ScriptSaver.h"

#include "framework/CodePage.h"
#include "framework/FileError.h"
#include "framework/ModalUi.h"

#include <QDir>

namespace {

QByteArray WithMark(const char *mark, qsizetype markSize, const QString &text, int mode)
{
    QByteArray bytes;
    const QString withEmptyLine = QStringLiteral("\r\n") + text;
    StringToMultiByte(withEmptyLine.constData(), withEmptyLine.size(), bytes, mode);
    bytes.prepend(mark, markSize);
    return bytes;
}

} // namespace

CScriptSaver::CScriptSaver(const WriteOptions &options, FileFactory factory)
    : m_options(options), m_factory(std::move(factory))
{
}

QByteArray CScriptSaver::Encode(const QString &text, ScriptEncoding encoding, bool &becameUnicode)
{
    becameUnicode = false;
    // An empty Unicode script is still its mark and the empty line, so that
    // it reads back in its encoding.
    if (encoding == ScriptEncoding::Ansi) {
        if (text.isEmpty())
            return QByteArray();
        QByteArray bytes;
        bool lossy = false;
        StringToMultiByte(text.constData(), text.size(), bytes, kAnsiCodePage, &lossy);
        if (!lossy)
            return bytes;
        becameUnicode = true;
        encoding = ScriptEncoding::Utf16Le;
    }
    if (encoding == ScriptEncoding::Utf8)
        return WithMark("\xEF\xBB\xBF", 3, text, kUtf8);
    return WithMark("\xFF\xFE", 2, text, kUtf16);
}

bool CScriptSaver::Save(const QString &text, ScriptEncoding encoding, const QString &path)
{
    bool becameUnicode = false;
    const QByteArray bytes = Encode(text, encoding, becameUnicode);
    CFileSaver saver(m_factory);
    if (!saver.Save(path, bytes)) {
        if (m_options.reportErrors)
            ReportFileError(QStringLiteral("write"), path, saver.Cause());
        return false;
    }
    if (becameUnicode && m_options.announceEncodingChange)
        ModalUi().ShowMessage(QStringLiteral("The script \"%1\" holds characters that the ANSI code page cannot "
                                             "represent, so it has been saved as Unicode (UTF-16).")
                                  .arg(QDir::toNativeSeparators(path)));
    return true;
}
