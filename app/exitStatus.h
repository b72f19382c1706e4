// The strutwright program's exit statuses.
#pragma once

enum ExitStatus : int {
    kExitOk = 0,
    kExitFailure = 1,  // the track could not be read or written, or the view failed
    kExitUsage = 2,
};
