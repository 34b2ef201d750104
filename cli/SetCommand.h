#pragma once
#include <QStringList>

// mbscript set FILE [--dry-run | --diff] [--force] [--locale NAME]
// SECTION.KEY=VALUE... [--unset SECTION.KEY...]: the settings changed through
// the editor's loader, tree and writer, so only their lines change. Needs
// StartWidgetsForResave's toolkit.
int RunSet(const QStringList &arguments);
