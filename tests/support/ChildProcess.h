// Programs run by tests: a child whose standard output is read line by
// line (a program on the display, an X server), and shell commands.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace testing_support {

bool OnPath(const char* tool);
// Runs a shell command and returns its standard output as text.
std::string Shell(const std::string& command);

// `argv` run with its standard error appended to `file`.
std::vector<std::string> WithErrorsIn(const std::string& file, const std::vector<std::string>& argv);
// The lines of `file` where GTK or GLib complains (warnings, criticals):
// each one a fault of ours or a misuse of the toolkit.
std::string GtkComplaints(const std::string& file);

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();  // kills the child if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // `env` entries ("NAME=value") are added to the child's environment;
    // with `capture` its standard output is read by Line.
    bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& env, bool capture);
    // The next line, or "" after `seconds`.
    std::string Line(int seconds);
    // The exit status, 128 when killed by a signal, -1 when still running
    // after `seconds`.
    int Wait(int seconds);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string pending_;
};

}  // namespace testing_support
