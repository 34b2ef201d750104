#pragma once
// `mbscript resave` builds an options tree, which needs the widget toolkit, so
// it runs as a program of its own (mbscript-resave, in the private program
// folder) and the other commands start without loading that toolkit.

#include <QStringList>

// Replaces this process with mbscript-resave given `arguments` (those after
// "resave"), which then behaves as the command always has. Returns only when
// that program cannot be started, after saying so.
int StartResave(const QStringList &arguments);
