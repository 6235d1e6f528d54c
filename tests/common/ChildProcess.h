// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <csignal>
#include <exception>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

// What became of a test body run in a child process.
struct ChildResult
{
    bool finished = false; // false: still running at the deadline, then killed
    int exitCode = -1;     // -1 when it ended by a signal
    int signal = 0;        // the signal that ended it, if one did
};

// Runs `body` in a forked child, whose exit code is what it returns (99 for
// an exception). For what must not touch the test process: resource limits,
// signal masks, namespaces. The deadline only detects a hang; it is never
// a measure of speed.
inline ChildResult RunInChild(const std::function<int()>& body, int deadlineSeconds = 30)
{
    const pid_t child = fork();
    if (child < 0)
        return {};
    if (child == 0) {
        // A crash ends the child at once, without the test library's
        // crash report (which starts a debugger).
        for (const int crash : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL})
            std::signal(crash, SIG_DFL);
        int code = 99;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    const timespec pause{0, 10'000'000};
    for (int waited = 0; waited < deadlineSeconds * 100; ++waited) {
        if (waitpid(child, &status, WNOHANG) == child)
            return {true, WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                    WIFSIGNALED(status) ? WTERMSIG(status) : 0};
        nanosleep(&pause, nullptr);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return {};
}

// Exit code of a child body that could not set up what it needed (no
// permission for a namespace, say): the test is skipped, not failed.
inline constexpr int kChildCannotSetUp = 77;
