#pragma once
// Starting another program without a shell: the desktop's helpers (xdg-open, xdg-email) get
// their arguments as a vector, so no text is ever read as a command line.

#include <string>
#include <vector>

struct SpawnOutcome {
    int error = 0;      // errno when the program could not be started, else 0
    bool ended = false; // it ended within the wait, and status holds its wait status
    int status = 0;
};

// Starts Program (a path, or a name looked up on PATH) with Arguments, its input from /dev/null,
// and waits up to WaitMs for it to end. A desktop helper may stay to run the application it
// starts in the foreground: one still running then is left to run and reaped when it ends.
SpawnOutcome SpawnAndAwait(const std::string& Program, const std::vector<std::string>& Arguments, int WaitMs);
