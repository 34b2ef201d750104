#pragma once
#include <QStringList>

// mbscript check [--json] [--strict] [--locale NAME] [--ignore RULE[,RULE...]]
//                [--max-problems N] FILE...
int RunCheck(const QStringList &arguments);
