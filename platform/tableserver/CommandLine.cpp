#include "CommandLine.h"

#include "OptionValues.h"

namespace tableserver {

const char* const kUsage =
    "usage: mardavel_tableserver [options]\n"
    "Serves one table of five seats on 127.0.0.1; seats without a player are played\n"
    "by the board's automatic action.\n"
    "  --port N            port to listen on (default 26100; 0 picks a free one)\n"
    "  --room-options TEXT room option text of the join reply (default \"0,0,0,0,0,0,0,0,3,1\")\n"
    "  --rules LIST        the referee's rule options 0,1,2,... (default: the board's)\n"
    "  --seed N            make the deals reproducible\n"
    "  --trust-limit N     trust-play entries per hand before leaving it is refused\n"
    "                      (default 3; 0 never refuses)\n"
    "  --join-timeout MS   time a new connection has to send its first message (30000)\n"
    "  --script FILE       scripted mode: play FILE to the first client, then end\n"
    "  --record FILE       scripted mode: record what the client sends (default stdout)\n"
    "  --script-timeout MS longest wait of a script step (30000)\n"
    "  --verbose           log every message and the board's own log\n"
    "It prints \"listening on 127.0.0.1:PORT\" once it accepts connections.\n";

using serverkit::ReadNumber;

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (serverkit::ReadCommonFlag(option, out.help, out.verbose))
            continue;
        if (!serverkit::ValueFollows(args, i, error))
            return false;
        const std::string& value = args[++i];
        unsigned long n = 0;
        if (option == "--port") {
            if (!serverkit::ReadPort(option, value, out.server.port, error))
                return false;
        } else if (option == "--room-options") {
            out.table.roomOptions = value;
        } else if (option == "--rules") {
            out.table.rules = value;
        } else if (option == "--seed") {
            if (!ReadNumber(option, value, 0xFFFFFFFFul, n, error))
                return false;
            out.table.fixedSeed = true;
            out.table.seed = uint32_t(n);
        } else if (option == "--trust-limit") {
            if (!ReadNumber(option, value, 255, n, error))
                return false;
            out.table.trustLimit = uint8_t(n);
        } else if (option == "--join-timeout") {
            if (!ReadNumber(option, value, 3600000, n, error))
                return false;
            out.server.joinTimeoutMs = int(n);
        } else if (option == "--script") {
            out.scriptPath = value;
        } else if (option == "--record") {
            out.recordPath = value;
        } else if (option == "--script-timeout") {
            if (!ReadNumber(option, value, 3600000, n, error))
                return false;
            out.scriptTimeoutMs = int(n);
        } else {
            error = "unknown option \"" + option + "\"";
            return false;
        }
    }
    if (!out.recordPath.empty() && out.scriptPath.empty()) {
        error = "--record needs --script";
        return false;
    }
    return true;
}

}  // namespace tableserver
