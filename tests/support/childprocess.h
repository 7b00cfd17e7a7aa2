#pragma once
// Test helper: a program started with its standard output on a pipe to the
// test, ended (SIGTERM) and reaped when the object goes.

#include <string>
#include <vector>

class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // The next line of its output, without the line end; empty at its end.
    std::string ReadLine();
    // Ends it and waits for it; its exit status, or -1 when it was not running.
    int Terminate();

private:
    int pid_ = -1;
    int out_ = -1;
};
