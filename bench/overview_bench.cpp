// Speed of the overview on a script of 10,000 actions, loaded into the editor
// dialog on the offscreen platform (the script checked once, untimed).
//
//   OverviewOpen/checked: the window made over the checked script, opened and painted.
//   OverviewOpen/edited: the same right after an edit, the script checked first.
//   OverviewScroll/<direction>: one page down, or one page sideways, painted.
//   OverviewSort: the rows sorted by Path1 and back to run order.

#include "app/AppDlg.h"
#include "app/EditHistory.h"
#include "app/EditRecorder.h"
#include "app/OverviewWindow.h"
#include "app/ScriptInsight.h"
#include "bench/ScriptGenerator.h"
#include "framework/ScriptedModalUi.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

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
        dialog->show();
        dialog->Insight().Checker().CheckNow();
    }
};

Editor &TheEditor()
{
    static Editor editor;
    return editor;
}

void OverviewOpen(benchmark::State &state, bool edited)
{
    Editor &editor = TheEditor();
    CEditHistory history(editor.dialog->Tree()); // the window edits nothing here
    CEditRecorder recorder(editor.dialog->Tree(), history);
    for (auto _ : state) {
        if (edited)
            editor.dialog->Insight().Checker().Schedule();
        COverviewWindow window(editor.dialog->Tree(), recorder, editor.dialog->Insight().Checker(),
                               editor.dialog.get());
        window.Open();
        benchmark::DoNotOptimize(window.grab());
        if (window.Table().model()->rowCount() != kActions)
            state.SkipWithError("the overview does not hold every action");
    }
}

void OverviewScroll(benchmark::State &state, Qt::Orientation direction)
{
    Editor &editor = TheEditor();
    COverviewWindow &window = editor.dialog->Overview();
    window.Open();
    QTableView &table = window.Table();
    QScrollBar *bar = direction == Qt::Vertical ? table.verticalScrollBar() : table.horizontalScrollBar();
    for (auto _ : state) {
        if (bar->value() == bar->maximum())
            bar->setValue(0);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        benchmark::DoNotOptimize(table.grab());
    }
}

void OverviewSort(benchmark::State &state)
{
    Editor &editor = TheEditor();
    QTableView &table = editor.dialog->Overview().Table();
    for (auto _ : state) {
        table.sortByColumn(0, Qt::AscendingOrder);
        table.sortByColumn(-1, Qt::AscendingOrder);
    }
}

} // namespace

BENCHMARK_CAPTURE(OverviewOpen, checked, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OverviewOpen, edited, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OverviewScroll, Down, Qt::Vertical)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OverviewScroll, Sideways, Qt::Horizontal)->Unit(benchmark::kMillisecond);
BENCHMARK(OverviewSort)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
