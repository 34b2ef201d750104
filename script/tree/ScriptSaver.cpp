#include "script/tree/ScriptSaver.h"

#include "framework/CodePage.h"
#include "framework/FileError.h"
#include "framework/ModalUi.h"
#include "script/tree/ScriptEncoder.h"
#include "script/tree/ScriptWriter.h"

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

// Encodes what `writer` writes a hundred sections at a time; false as soon
// as a piece cannot be encoded without loss.
bool EncodePieces(CScriptWriter &writer, CScriptEncoder &encoder)
{
    constexpr int kRootsPerPiece = 100;
    writer.Begin();
    for (int first = 0; first < writer.RootCount(); first += kRootsPerPiece) {
        writer.WriteRoots(first, kRootsPerPiece);
        if (!encoder.Append(writer.TakeText()))
            return false;
    }
    return encoder.Append(writer.End());
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

QByteArray CScriptSaver::EncodeScript(CScriptWriter &writer, ScriptEncoding encoding, bool &becameUnicode)
{
    becameUnicode = false;
    if (encoding == ScriptEncoding::Ansi) {
        CScriptEncoder ansi(encoding);
        if (EncodePieces(writer, ansi))
            return ansi.TakeBytes();
        becameUnicode = true;
        encoding = ScriptEncoding::Utf16Le;
    }
    CScriptEncoder encoder(encoding);
    EncodePieces(writer, encoder);
    return encoder.TakeBytes();
}

bool CScriptSaver::Save(const QString &text, ScriptEncoding encoding, const QString &path)
{
    bool becameUnicode = false;
    const QByteArray bytes = Encode(text, encoding, becameUnicode);
    return SaveBytes(bytes, becameUnicode, path);
}

bool CScriptSaver::SaveBytes(const QByteArray &bytes, bool becameUnicode, const QString &path)
{
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
