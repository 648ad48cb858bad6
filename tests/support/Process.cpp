// fork/exec with both output streams drained through poll(2), so a chatty child never blocks.
#include "support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string_view>
#include <thread>

extern char** environ;

Process::Process(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& environment)
{
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return;
    }
    std::vector<std::string> argStorage{program};
    argStorage.insert(argStorage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStorage)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    // The given variables replace inherited ones of the same name: with both present, which
    // one a program sees depends on how it searches its environment.
    auto overridden = [&](std::string_view variable) {
        const std::string_view name = variable.substr(0, variable.find('='));
        for (const std::string& given : environment) {
            if (given.size() > name.size() && given.starts_with(name) && given[name.size()] == '=')
                return true;
        }
        return false;
    };
    std::vector<std::string> envStorage;
    for (char** e = environ; *e; ++e) {
        if (!overridden(*e))
            envStorage.emplace_back(*e);
    }
    envStorage.insert(envStorage.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (auto& e : envStorage)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    m_pid = fork();
    if (m_pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, STDIN_FILENO);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    m_out = out[0];
    m_err = err[0];
}

Process::~Process()
{
    if (m_pid > 0 && !m_reaped) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_out >= 0)
        close(m_out);
    if (m_err >= 0)
        close(m_err);
}

bool Process::Running()
{
    if (m_pid <= 0 || m_reaped)
        return false;
    if (waitpid(m_pid, &m_status, WNOHANG) == m_pid)
        m_reaped = true;
    return !m_reaped;
}

void Process::Signal(int signal)
{
    if (m_pid > 0 && !m_reaped)
        kill(m_pid, signal);
}

ProcessResult Process::Wait(double timeoutSeconds)
{
    ProcessResult result;
    if (m_pid <= 0)
        return result;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    bool outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        pollfd fds[2] = {{m_out, POLLIN, 0}, {m_err, POLLIN, 0}};
        if (!outOpen)
            fds[0].fd = -1;
        if (!errOpen)
            fds[1].fd = -1;
        int ready = poll(fds, 2, 100);
        if (ready < 0 && errno != EINTR)
            break;
        char buffer[4096];
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0)
                (i == 0 ? outOpen : errOpen) = false;
            else
                (i == 0 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(m_pid, SIGKILL);
            break;
        }
    }
    if (!m_reaped)
        waitpid(m_pid, &m_status, 0);
    m_reaped = true;
    if (WIFEXITED(m_status))
        result.exitCode = WEXITSTATUS(m_status);
    else if (WIFSIGNALED(m_status))
        result.exitCode = 128 + WTERMSIG(m_status);
    return result;
}

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment, double timeoutSeconds)
{
    Process process(program, args, environment);
    return process.Wait(timeoutSeconds);
}
