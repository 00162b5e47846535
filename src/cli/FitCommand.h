#pragma once

#include <QStringList>

class Console;

// rowshift-cli fit --points FILE [--order N] [-o TABLE] [--json]
int runFit(const QStringList& arguments, Console& console);
