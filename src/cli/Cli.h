#pragma once

#include <QStringList>

class Console;

// The whole command line, program name first: picks the command and runs
// it. Returns the exit status (see ExitCode.h).
int runCli(const QStringList& arguments, Console& console);
