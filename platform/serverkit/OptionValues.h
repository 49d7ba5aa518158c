// Helpers for the stand-ins' command lines.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace serverkit {

// A decimal number from 0 to max as the value of `option`; false with the
// reason otherwise.
bool ReadNumber(const std::string& option, const std::string& text, unsigned long max,
                unsigned long& out, std::string& error);

// The flags every stand-in takes, "--help" (or "-h") and "--verbose": true,
// with the flag set, when `option` is one of them.
bool ReadCommonFlag(const std::string& option, bool& help, bool& verbose);

// A port number 0-65535 as the value of `option`.
bool ReadPort(const std::string& option, const std::string& text, uint16_t& out, std::string& error);

// True when args[i], an option that wants a value, has one after it; else
// false with "--x needs a value" (or "unknown argument" for what is no
// option at all).
bool ValueFollows(const std::vector<std::string>& args, size_t i, std::string& error);

// Parses the arguments after the program name with `parse`. A bad command
// line prints its reason and `usage` to stderr and gives exit code 2; a
// request for help prints `usage` and gives 0; otherwise -1: the program
// goes on.
template <class CommandLine>
int ParseOrExplain(int argc, char** argv, const char* usage, CommandLine& command,
                   bool (*parse)(const std::vector<std::string>&, CommandLine&, std::string&))
{
    std::string error;
    if (!parse(std::vector<std::string>(argv + 1, argv + argc), command, error)) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), usage);
        return 2;
    }
    if (command.help) {
        std::fputs(usage, stdout);
        return 0;
    }
    return -1;
}

}  // namespace serverkit
