#include "tests/support/ChildProcess.h"

#include <fstream>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

bool OnPath(const char* tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Shell(const std::string& command)
{
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, p))
            out += buffer;
        ::pclose(p);
    }
    return out;
}

bool ChildProcess::Start(const std::vector<std::string>& argv, const std::vector<std::string>& env, bool capture)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    pid_ = ::fork();
    if (pid_ == 0) {
        if (capture)
            ::dup2(fds[1], 1);
        ::close(fds[0]);
        ::close(fds[1]);
        for (const auto& e : env)
            ::putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    out_ = fds[0];
    return pid_ > 0;
}

std::string ChildProcess::Line(int seconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        auto nl = pending_.find('\n');
        if (nl != std::string::npos) {
            std::string line = pending_.substr(0, nl);
            pending_.erase(0, nl + 1);
            return line;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return "";
        pollfd p{out_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            return "";
        char buffer[512];
        ssize_t n = ::read(out_, buffer, sizeof buffer);
        if (n <= 0)
            return "";
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

int ChildProcess::Wait(int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        }
        ::usleep(50000);
    }
    return -1;
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0)
        ::close(out_);
}

}  // namespace testing_support

namespace testing_support {

std::vector<std::string> WithErrorsIn(const std::string& file, const std::vector<std::string>& argv)
{
    std::vector<std::string> wrapped = {"sh", "-c", "f=$1; shift; exec \"$@\" 2>>\"$f\"", "sh", file};
    wrapped.insert(wrapped.end(), argv.begin(), argv.end());
    return wrapped;
}

std::string GtkComplaints(const std::string& file)
{
    std::ifstream in(file);
    std::string line, found;
    while (std::getline(in, line))
        for (const char* what : {"-WARNING **", "-CRITICAL **"})
            if (line.find(what) != std::string::npos) {
                found += line + "\n";
                break;
            }
    return found;
}

}  // namespace testing_support
