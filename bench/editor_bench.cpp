// Speed of the editor's undo history on a script of 10,000 actions, loaded into
// the editor dialog on the offscreen platform.
//
//   UndoRedo/<step>: one step undone and redone again, timed as a pair; the
//     counters give each half. The steps: Delete of an action in the middle,
//     Move Up of an action in the middle, a value typed into an action in the
//     middle, New Action at the top (10,000 actions renamed).
//   NewActionAtTop: the command itself, below "Default" (each run undone untimed).
//   FindKeystroke: the find bar open on the shown editor, "E:\Backup" typed a key at
//     a time and taken back again; each keystroke filters the tree and the view lays
//     itself out and paints. The counters give the mean and the slowest keystroke,
//     and the bar's opening, which indexes every label and value.

#include "app/AppDlg.h"
#include "app/FindBar.h"
#include "bench/BenchEditor.h"
#include "bench/ScriptGenerator.h"
#include "framework/ScriptedModalUi.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

QTreeWidgetItem *FirstTextItem(QTreeWidgetItem *item)
{
    const CTreeOptionsItemInfo *info = CTreeOptionsCtrl::GetItemInfo(item);
    if (info && info->m_nKind == kKindEdit)
        return item;
    for (int i = 0; i < item->childCount(); ++i)
        if (QTreeWidgetItem *found = FirstTextItem(item->child(i)))
            return found;
    return nullptr;
}

enum class Step { Delete, MoveUp, Value, NewAction };

void DoStep(Editor &editor, Step step)
{
    CTreeOptionsCtrl &tree = editor.Tree();
    QTreeWidgetItem *middle = tree.topLevelItem(kActions / 2);
    switch (step) {
    case Step::Delete:
        tree.setCurrentItem(middle);
        editor.dialog->RunCommand(CAppDlg::Command::Delete);
        break;
    case Step::MoveUp:
        tree.setCurrentItem(middle);
        editor.dialog->RunCommand(CAppDlg::Command::MoveUp);
        break;
    case Step::Value: {
        QTreeWidgetItem *item = FirstTextItem(middle);
        static int typed = 0;
        tree.setCurrentItem(nullptr); // the editor opens afresh
        tree.setCurrentItem(item);
        if (tree.EditSession().Edit())
            tree.EditSession().Edit()->setText(QStringLiteral("D:\\Elsewhere %1").arg(++typed));
        tree.CommitAndEndEdit();
        break;
    }
    case Step::NewAction:
        tree.setCurrentItem(tree.topLevelItem(0));
        editor.dialog->RunCommand(CAppDlg::Command::NewAction);
        break;
    }
}

void UndoRedo(benchmark::State &state, Step step)
{
    Editor &editor = TheEditor();
    DoStep(editor, step);
    if (!editor.dialog->History().CanUndo())
        state.SkipWithError("the step was not recorded");
    double undoSeconds = 0, redoSeconds = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        timer.start();
        editor.dialog->OnUndo();
        undoSeconds += double(timer.nsecsElapsed()) / 1e9;
        timer.start();
        editor.dialog->OnRedo();
        redoSeconds += double(timer.nsecsElapsed()) / 1e9;
    }
    editor.dialog->OnUndo();
    state.counters["undo_ms"] = benchmark::Counter(undoSeconds * 1e3 / double(state.iterations()));
    state.counters["redo_ms"] = benchmark::Counter(redoSeconds * 1e3 / double(state.iterations()));
}

void NewActionAtTop(benchmark::State &state)
{
    Editor &editor = TheEditor();
    for (auto _ : state) {
        DoStep(editor, Step::NewAction);
        state.PauseTiming();
        editor.dialog->OnUndo();
        state.ResumeTiming();
    }
}

void FindKeystroke(benchmark::State &state)
{
    Editor &editor = TheEditor();
    editor.dialog->show();
    CFindBar &bar = editor.dialog->FindBar();
    QElapsedTimer timer;
    timer.start();
    bar.Open(); // every label and value indexed
    QCoreApplication::processEvents();
    state.counters["open_ms"] = benchmark::Counter(double(timer.nsecsElapsed()) / 1e6);
    const QString word = QStringLiteral("E:\\Backup");
    QStringList keystrokes;
    for (qsizetype n = 1; n <= word.size(); ++n)
        keystrokes << word.left(n);
    for (qsizetype n = word.size() - 1; n >= 0; --n)
        keystrokes << word.left(n);
    double slowest = 0, total = 0;
    qint64 count = 0;
    for (auto _ : state) {
        for (const QString &text : keystrokes) {
            timer.start();
            bar.Field().setText(text);
            QCoreApplication::processEvents();
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            slowest = std::max(slowest, ms);
            total += ms;
            ++count;
        }
    }
    state.counters["keystrokes"] = benchmark::Counter(double(count));
    state.counters["mean_ms"] = benchmark::Counter(total / double(std::max<qint64>(count, 1)));
    state.counters["max_ms"] = benchmark::Counter(slowest);
    bar.Close();
}

} // namespace

BENCHMARK_CAPTURE(UndoRedo, Delete, Step::Delete)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UndoRedo, MoveUp, Step::MoveUp)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UndoRedo, Value, Step::Value)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UndoRedo, NewActionAtTop, Step::NewAction)->Unit(benchmark::kMillisecond);
BENCHMARK(NewActionAtTop)->Unit(benchmark::kMillisecond);
BENCHMARK(FindKeystroke)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return RunEditorBenchmarks(argc, argv);
}
