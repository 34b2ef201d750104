#include "script/tree/ScriptSaver.h"

#include "framework/CodePage.h"
#include "framework/FileError.h"
#include "framework/ModalUi.h"

#include <QDir>

namespace {

QByteArray WithMark(const char *mark, int markSize, const QString &text, int mode)
{
    QByteArray bytes;
    const QString withEmptyLine = QStringLiteral("\r\n") + text;
    StringToMultiByte(withEmptyLine.constData(), int(withEmptyLine.size()), bytes, mode);
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
        StringToMultiByte(text.constData(), int(text.size()), bytes, kAnsiCodePage, &lossy);
        if (!lossy)
            return bytes;
        becameUnicode = true;
        encoding = ScriptEncoding::Utf16Le;
    }
    if (encoding == ScriptEncoding::Utf8)
        return WithMark("\xEF\xBB\xBF", 3, text, kUtf8);
    return WithMark("\xFF\xFE", 2, text, kUtf16);
}

bool CScriptSaver::WriteAtomically(const QString &path, const QByteArray &bytes, QString &cause) const
{
    std::unique_ptr<QSaveFile> file = m_factory ? m_factory(path) : std::make_unique<QSaveFile>(path);
    // A folder that allows no temporary file still lets a writable script be saved.
    file->setDirectWriteFallback(true);
    // Unbuffered, so that every write reaches the file here and a short one is
    // seen at once rather than lost in the final flush of commit().
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        cause = file->errorString();
        return false;
    }
    const qint64 written = bytes.isEmpty() ? 0 : file->write(bytes.constData(), bytes.size());
    if (written != bytes.size() || file->error() != QFileDevice::NoError) {
        cause = file->error() != QFileDevice::NoError && !file->errorString().isEmpty()
                    ? file->errorString()
                    : QStringLiteral("Only %1 of %2 bytes could be written; the disk may be full.")
                          .arg(qMax<qint64>(written, 0)).arg(bytes.size());
        file->cancelWriting();
        return false;
    }
    if (!file->commit()) {
        cause = file->errorString();
        return false;
    }
    return true;
}

bool CScriptSaver::Save(const QString &text, ScriptEncoding encoding, const QString &path)
{
    bool becameUnicode = false;
    const QByteArray bytes = Encode(text, encoding, becameUnicode);
    QString cause;
    if (!WriteAtomically(path, bytes, cause)) {
        if (m_options.reportErrors)
            ReportFileError(QStringLiteral("write"), path, cause);
        return false;
    }
    if (becameUnicode && m_options.announceEncodingChange)
        ModalUi().ShowMessage(QStringLiteral("The script \"%1\" holds characters that the ANSI code page cannot "
                                             "represent, so it has been saved as Unicode (UTF-16).")
                                  .arg(QDir::toNativeSeparators(path)));
    return true;
}
