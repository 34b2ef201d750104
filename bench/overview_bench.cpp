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
#include "bench/BenchEditor.h"
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

// The editor shown, its script checked once (the overview shows the last check).
Editor &CheckedEditor()
{
    static const bool checked = [] {
        TheEditor().dialog->show();
        TheEditor().dialog->Insight().Checker().CheckNow();
        return true;
    }();
    (void)checked;
    return TheEditor();
}

void OverviewOpen(benchmark::State &state, bool edited)
{
    Editor &editor = CheckedEditor();
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
    Editor &editor = CheckedEditor();
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
    Editor &editor = CheckedEditor();
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
    return RunEditorBenchmarks(argc, argv);
}
