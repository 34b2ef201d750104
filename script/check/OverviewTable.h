#pragma once
// The overview of a script: one row per action in run order, one column per
// setting the editor shows, each cell the value in effect as the editor shows
// it. The editor's table and `mbscript dump --csv` both take it from here.

#include "script/check/ValuesInEffect.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

class CSynchArray;

// The settings that have a column, in the tree's order.
const std::vector<const SettingField *> &OverviewFields();
// The values of each column of the action at `action`.
std::vector<EffectiveValue> OverviewRow(const CSynchArray &document, qsizetype action);
// The whole table as CSV: a header ("Action" and the keys), then a record per action.
QByteArray OverviewCsv(const CSynchArray &document);
