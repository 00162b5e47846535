#pragma once

// What rowshift-cli tells its caller, the same for every command.
enum ExitCode : int {
    Success = 0,     // everything was done
    InputFailed = 1, // some input could not be read, fitted or written; the rest was done
    UsageError = 2,  // the command line itself is wrong; nothing was read or written
};
