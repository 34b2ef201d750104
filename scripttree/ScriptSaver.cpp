#include "scripttree/ScriptSaver.h"

#include "framework/FileError.h"
#include "framework/FileName.h"
#include "framework/FileSaver.h"
#include "framework/ModalUi.h"
#include "scripttree/ScriptEncoder.h"
#include "scripttree/ScriptWriter.h"

namespace {

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

CScriptSaver::CScriptSaver(const WriteOptions &options) : m_options(options) {}

QByteArray CScriptSaver::EncodeScript(CScriptWriter &writer, ScriptEncoding encoding, bool &becameUnicode)
{
    becameUnicode = false;
    const bool lineAfterMark = !writer.KeepsLayout();
    if (encoding == ScriptEncoding::Ansi) {
        CScriptEncoder ansi(encoding);
        if (EncodePieces(writer, ansi))
            return ansi.TakeBytes();
        becameUnicode = true;
        encoding = ScriptEncoding::Utf16Le;
    }
    CScriptEncoder encoder(encoding, lineAfterMark);
    EncodePieces(writer, encoder);
    return encoder.TakeBytes();
}

bool CScriptSaver::Save(const QByteArray &bytes, bool becameUnicode, const QString &path)
{
    CFileSaver saver;
    const bool saved = saver.Save(path, bytes);
    if (m_options.reportErrors)
        for (const QString &note : saver.Notes())
            ModalUi().ShowMessage(note);
    if (!saved) {
        if (m_options.reportErrors)
            ReportFileError(QStringLiteral("write"), path, saver.Cause());
        return false;
    }
    if (becameUnicode && m_options.announceEncodingChange)
        ModalUi().ShowMessage(QStringLiteral("The script \"%1\" holds characters that the ANSI code page cannot "
                                             "represent, so it has been saved as Unicode (UTF-16).")
                                  .arg(ShownFileName(path)));
    return true;
}
