#include "ChildProgram.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace serverkit::test {

ChildProgram::ChildProgram(const char* path, const std::vector<std::string>& args, bool quietErrors)
{
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        if (quietErrors) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(path));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(path, argv.data());
        _exit(127);
    }
    close(out[1]);
    out_ = out[0];
}

ChildProgram::~ChildProgram()
{
    if (pid_ > 0 && !exited_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0)
        close(out_);
}

std::string ChildProgram::ReadLine(int timeoutMs)
{
    for (;;) {
        const size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return line;
        }
        pollfd p = {out_, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0)
            return {};
        char chunk[256];
        const ssize_t n = read(out_, chunk, sizeof chunk);
        if (n <= 0)
            return {};
        buffer_.append(chunk, size_t(n));
    }
}

uint16_t ChildProgram::ListeningPort(int timeoutMs)
{
    const std::string line = ReadLine(timeoutMs);
    unsigned port = 0;
    if (std::sscanf(line.c_str(), "listening on 127.0.0.1:%u", &port) != 1 || port > 65535)
        return 0;
    return uint16_t(port);
}

void ChildProgram::Signal(int signal)
{
    if (pid_ > 0)
        kill(pid_, signal);
}

int ChildProgram::Wait(int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            exited_ = true;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (std::chrono::steady_clock::now() >= end)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace serverkit::test
