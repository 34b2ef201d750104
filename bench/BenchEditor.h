#pragma once
// The editor the editor benchmarks measure: a generated script of 10,000
// actions loaded into the editor dialog on the offscreen platform, made on
// first use and gone before the application object (a window outliving it
// crashes the program's exit).

#include "app/AppDlg.h"
#include "bench/ScriptGenerator.h"
#include "framework/ScriptedModalUi.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

constexpr int kActions = 10000;

struct Editor
{
    ScriptedModalUi ui;
    ScopedModalUi install{ui};
    QTemporaryDir dir;
    std::unique_ptr<CAppDlg> dialog;

    Editor()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        const QString path = dir.filePath(QStringLiteral("big.mbs"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(CScriptGenerator::Encode(CScriptGenerator(8).Generate(kActions), ScriptEncoding::Ansi)) < 0)
            qFatal("cannot write %s", qPrintable(path));
        file.close();
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("state"))));
        dialog = std::make_unique<CAppDlg>(path);
    }
    CTreeOptionsCtrl &Tree() const { return dialog->Tree(); }
};

inline std::unique_ptr<Editor> &EditorSlot()
{
    static std::unique_ptr<Editor> editor;
    return editor;
}

inline Editor &TheEditor()
{
    if (!EditorSlot())
        EditorSlot() = std::make_unique<Editor>();
    return *EditorSlot();
}

// The benchmarks' main: the application on the offscreen platform (unless one
// is given), dates in the British picture, the editor ended before the application.
inline int RunEditorBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    EditorSlot().reset();
    return 0;
}
