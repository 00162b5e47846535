#pragma once

#include <QStringList>

class Console;

// rowshift-cli apply --table TABLE -o OUTDIR [--jobs N] [--keep-depth] IMAGE...
int runApply(const QStringList& arguments, Console& console);
