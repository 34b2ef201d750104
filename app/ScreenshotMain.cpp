// marrowpad_screenshot SCRIPT OUT.png: renders the editor with SCRIPT loaded
// (its first action open, a value being edited) to OUT.png.
// marrowpad_screenshot --guide SCRIPT FOLDER: renders the user guide's pictures
// into FOLDER: editor.png (as above), new-script.png (the editor started
// without a script), help-window.png (the guide open at a setting),
// find-bar.png (the find bar over SCRIPT, a path typed) and overview.png (the
// overview of SCRIPT, scrolled to its first setting).
// Run it on the offscreen platform: QT_QPA_PLATFORM=offscreen.

#include "app/AppDlg.h"
#include "app/FindBar.h"
#include "app/HelpOpener.h"
#include "app/HelpWindow.h"
#include "app/OverviewWindow.h"
#include "app/SettingGuide.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool Save(QWidget &widget, const QString &path)
{
    QCoreApplication::processEvents();
    if (widget.grab().save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// The editor with `script` loaded, its first action open, its mask edited.
bool ShootEditor(const QString &script, const QString &out)
{
    CAppDlg dialog(script);
    dialog.show();
    QCoreApplication::processEvents();

    CTreeOptionsCtrl &tree = dialog.Tree();
    QTreeWidgetItem *action = tree.topLevelItemCount() > 1 ? tree.topLevelItem(1) : tree.topLevelItem(0);
    if (action) {
        action->setExpanded(true);
        tree.setFocus();
        // The mask is shown in its in-place editor, the filters opened.
        for (int i = 0; i < action->childCount(); ++i) {
            QTreeWidgetItem *child = action->child(i);
            if (child->text(0).startsWith(QStringLiteral("File Mask: ")))
                tree.setCurrentItem(child);
            else if (child->text(0) == QStringLiteral("Filters"))
                child->setExpanded(true);
        }
        tree.scrollToItem(action, QAbstractItemView::PositionAtTop);
    }
    return Save(dialog, out);
}

bool ShootNewScript(const QString &out)
{
    CAppDlg dialog;
    dialog.show();
    // Both roots in view: "Default" folded, "Action1" open below it.
    CTreeOptionsCtrl &tree = dialog.Tree();
    if (QTreeWidgetItem *root = tree.topLevelItem(0))
        root->setExpanded(false);
    tree.scrollToTop();
    return Save(dialog, out);
}

// The help window at the entry of the operation, as F1 on it shows it.
bool ShootHelpWindow(const QString &out)
{
    CHelpWindow window;
    window.resize(640, 480);
    window.ShowGuide(CHelpOpener::GuideFilePath(QCoreApplication::applicationDirPath()),
                     CSettingGuide::AnchorForLabel(QStringLiteral("Operation: ")));
    const bool saved = Save(window, out);
    window.close();
    return saved;
}

// The find bar over `script`, a target folder typed with the other slash, the
// first match selected.
bool ShootFindBar(const QString &script, const QString &out)
{
    CAppDlg dialog(script);
    dialog.show();
    CFindBar &bar = dialog.FindBar();
    bar.Open();
    bar.Field().setText(QStringLiteral("e:/"));
    bar.Step(true);
    return Save(dialog, out);
}

// The overview of `script`, the first action's first value current.
bool ShootOverview(const QString &script, const QString &out)
{
    CAppDlg dialog(script);
    dialog.show();
    COverviewWindow &overview = dialog.Overview();
    overview.resize(760, 220);
    overview.Open();
    QTableView &table = overview.Table();
    table.setCurrentIndex(table.model()->index(0, 0));
    return Save(overview, out);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The pictures show the editor as a first start shows it, and leave the
    // user's own settings alone.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments[1] == u"--guide") {
        const QDir folder(arguments[3]);
        return ShootEditor(arguments[2], folder.filePath(QStringLiteral("editor.png")))
                       && ShootNewScript(folder.filePath(QStringLiteral("new-script.png")))
                       && ShootHelpWindow(folder.filePath(QStringLiteral("help-window.png")))
                       && ShootFindBar(arguments[2], folder.filePath(QStringLiteral("find-bar.png")))
                       && ShootOverview(arguments[2], folder.filePath(QStringLiteral("overview.png")))
                   ? 0
                   : 1;
    }
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: %s SCRIPT OUT.png\n       %s --guide SCRIPT FOLDER\n", argv[0], argv[0]);
        return 2;
    }
    return ShootEditor(arguments[1], arguments[2]) ? 0 : 1;
}
