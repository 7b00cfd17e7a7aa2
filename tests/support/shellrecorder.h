#pragma once
// Test helper: while it lives, ShellExecute hands its targets to this
// recorder instead of the desktop, and gets the chosen answer back.

#include "platform/win32/shell.h"

#include <vector>

class ShellRecorder {
public:
    explicit ShellRecorder(int result = 0) : result(result) {
        previous_ = SetShellOpener([this](const AnsiString& target) {
            opened.push_back(target);
            return this->result;
        });
    }
    ~ShellRecorder() { SetShellOpener(std::move(previous_)); }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::vector<AnsiString> opened;
    int result; // 0: opened; else an SE_ERR_ code

private:
    ShellOpener previous_;
};
