#pragma once
#include <QStringList>

#include <memory>

class QCoreApplication;

// The widget toolkit, which the options tree of resave needs, on the
// offscreen platform: no window is ever shown and no display is needed.
// `argc` and `argv` must outlive it.
std::unique_ptr<QCoreApplication> StartWidgetsForResave(int &argc, char **argv);

// mbscript resave [--complete] [--normalize] [--] IN OUT: IN loaded into an
// options tree as the editor's Load Script does, written to OUT as the
// editor's Save does (in catalogue order with --normalize).
// Needs StartWidgetsForResave's toolkit.
int RunResave(const QStringList &arguments);
