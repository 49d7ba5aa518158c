// mardavel_tableserver: a stand-in for the platform's game server, serving one
// table on a loopback port (see README.md).
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "CommandLine.h"
#include "OptionValues.h"
#include "ProgramSignals.h"
#include "Script.h"
#include "Table.h"
#include "TableServer.h"

using namespace tableserver;

namespace {

bool ReadFile(const std::string& path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return true;
}

int Serve(const CommandLine& command, Session& session, ServerLog& log)
{
    TableServer server(command.server, session, log);
    std::string error;
    if (!server.Listen(error)) {
        log.Line("cannot listen: %s", error.c_str());
        return 2;
    }
    serverkit::AnnounceListening(server.port());
    serverkit::CatchStopSignals();
    server.Run(serverkit::StopRequested());
    log.Line(serverkit::StopRequested().load() ? "stopped" : "session ended");
    return session.ExitCode();
}

}  // namespace

int main(int argc, char** argv)
{
    CommandLine command;
    const int parsed = serverkit::ParseOrExplain(argc, argv, kUsage, command, ParseCommandLine);
    if (parsed >= 0)
        return parsed;
    std::string error;
    ServerLog log(nullptr, command.verbose);

    if (command.scriptPath.empty()) {
        Table table(command.table, log);
        if (!table.Open(error)) {
            log.Line("cannot open the table: %s", error.c_str());
            return 2;
        }
        return Serve(command, table, log);
    }

    std::string text;
    std::vector<ScriptStep> steps;
    if (!ReadFile(command.scriptPath, text)) {
        log.Line("cannot read the script %s", command.scriptPath.c_str());
        return 2;
    }
    if (!ParseScript(text, steps, error)) {
        log.Line("%s: %s", command.scriptPath.c_str(), error.c_str());
        return 2;
    }
    std::FILE* record = stdout;
    if (!command.recordPath.empty() && !(record = std::fopen(command.recordPath.c_str(), "w"))) {
        log.Line("cannot write the record %s", command.recordPath.c_str());
        return 2;
    }
    ScriptSession script(
        std::move(steps),
        [record](const std::string& line) {
            std::fprintf(record, "%s\n", line.c_str());
            std::fflush(record);
        },
        command.table.roomOptions, command.scriptTimeoutMs, log);
    const int code = Serve(command, script, log);
    if (record != stdout)
        std::fclose(record);
    return code;
}
