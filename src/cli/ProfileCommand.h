#pragma once

#include <QStringList>

class Console;

// rowshift-cli profile IMAGE [-o FILE]
int runProfile(const QStringList& arguments, Console& console);
