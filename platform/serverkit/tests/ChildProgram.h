// A stand-in program run by a test as a child process, its standard output
// in a pipe.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <sys/types.h>

namespace serverkit::test {

class ChildProgram {
public:
    static constexpr int kWaitMs = 10000;

    // With quietErrors its standard error goes to /dev/null.
    ChildProgram(const char* path, const std::vector<std::string>& args, bool quietErrors = false);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    // The next line of its output, or "" when none comes in time.
    std::string ReadLine(int timeoutMs = kWaitMs);
    // The port of its "listening on 127.0.0.1:PORT" line, 0 without one.
    uint16_t ListeningPort(int timeoutMs = kWaitMs);

    void Signal(int signal);
    // The exit code once it ended (128 + the signal when one ended it), -1
    // when it did not end in time.
    int Wait(int timeoutMs = kWaitMs);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    bool exited_ = false;
    std::string buffer_;
};

}  // namespace serverkit::test
