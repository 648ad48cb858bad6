// Running the real game binary from tests: arguments, extra environment, captured output.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct ProcessResult
{
    int exitCode = -1; // 128 + signal when killed by a signal
    std::string out;
    std::string err;
};

// A child process started in the background. Its environment is the test's, with the given
// "NAME=value" entries added or replacing the inherited ones of the same name.
class Process
{
public:
    Process(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& environment = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }
    bool Running();
    void Signal(int signal);
    // Waits for the end, at most timeoutSeconds, killing the child when it is overdue.
    ProcessResult Wait(double timeoutSeconds);

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    bool m_reaped = false;
    int m_status = 0;
};

// Runs a program to its end (at most timeoutSeconds).
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment = {},
                         double timeoutSeconds = 60);
