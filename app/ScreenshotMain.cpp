// marrowpad_screenshot SCRIPT OUT.png: renders the editor with SCRIPT loaded
// (its first action open, a value being edited) to OUT.png. Run it on the
// offscreen platform: QT_QPA_PLATFORM=offscreen.

#include "app/AppDlg.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: %s SCRIPT OUT.png\n", argv[0]);
        return 2;
    }
    CAppDlg dialog(arguments[1]);
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
    QCoreApplication::processEvents();

    if (!dialog.grab().save(arguments[2])) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
