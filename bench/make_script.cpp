// Writes a generated script to a file, for measuring whole processes:
//   make_script OUT about MEGABYTES [ansi|utf-16le|utf-8 [SEED]]   random actions, about that size
//   make_script OUT actions N [ansi|utf-16le|utf-8 [SEED]]          N random actions
//   make_script OUT every N [ansi|utf-16le|utf-8]                   N actions setting every key
// The same SEED (12 when none is given) makes the same script.
// Dates are written dd/MM/yyyy (run the readers with LC_ALL=en_GB.UTF-8).

#include "bench/ScriptGenerator.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4 || args.size() > 6) {
        std::fprintf(stderr, "usage: make_script OUT about|actions|every NUMBER [ansi|utf-16le|utf-8 [SEED]]\n");
        return 2;
    }
    const QString kind = args[2];
    const qint64 number = args[3].toLongLong();
    const QString encodingName = args.size() >= 5 ? args[4] : QStringLiteral("ansi");
    const ScriptEncoding encoding = encodingName == QLatin1String("utf-16le") ? ScriptEncoding::Utf16Le
                                    : encodingName == QLatin1String("utf-8")  ? ScriptEncoding::Utf8
                                                                              : ScriptEncoding::Ansi;
    CScriptGenerator generator(args.size() == 6 ? args[5].toUInt() : 12);
    QString text;
    if (kind == QLatin1String("about"))
        text = generator.GenerateAbout(number * 1000 * 1000 / (encoding == ScriptEncoding::Utf16Le ? 2 : 1));
    else if (kind == QLatin1String("actions"))
        text = generator.Generate(int(number));
    else
        text = CScriptGenerator::GenerateEveryKey(int(number));
    QFile file(args[1]);
    const QByteArray bytes = CScriptGenerator::Encode(text, encoding);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "make_script: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
