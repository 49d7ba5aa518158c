// The server's command line.
#pragma once

#include <string>
#include <vector>

#include "Table.h"
#include "TableServer.h"

namespace tableserver {

struct CommandLine {
    ServerOptions server;
    TableOptions table;
    std::string scriptPath;   // scripted mode when set
    std::string recordPath;   // scripted mode: where the record goes (stdout when empty)
    int scriptTimeoutMs = 30000;
    bool verbose = false;
    bool help = false;
};

extern const char* const kUsage;

// Arguments without the program name. False with the reason on a bad one.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

}  // namespace tableserver
