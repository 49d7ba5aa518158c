// mardavel_proxies: stand-ins for the SOCKS proxy, the relay proxy, the HTTP
// proxy and the HTTP tunnel relay, on a loopback port (see README.md).
#include <chrono>
#include <cstdio>
#include <thread>

#include "CommandLine.h"
#include "OptionValues.h"
#include "ProgramSignals.h"

using namespace proxies;

int main(int argc, char** argv)
{
    CommandLine command;
    const int parsed = serverkit::ParseOrExplain(argc, argv, kUsage, command, ParseCommandLine);
    if (parsed >= 0)
        return parsed;
    std::string error;

    ProxyLog log(nullptr, command.verbose);
    std::FILE* record = nullptr;
    if (!command.recordPath.empty()) {
        record = std::fopen(command.recordPath.c_str(), "a");
        if (!record) {
            log.Line("cannot write the record %s", command.recordPath.c_str());
            return 2;
        }
        log.SetRecordSink([record](const std::string& line) {
            std::fprintf(record, "%s\n", line.c_str());
            std::fflush(record);
        });
    }

    const std::unique_ptr<Service> service = MakeService(command);
    ServerOptions options;
    options.port = command.port;
    int code = 0;
    {
        ProxyServer server(*service, options, log);
        if (!server.Listen(error)) {
            log.Line("cannot listen: %s", error.c_str());
            code = 2;
        } else {
            serverkit::CatchStopSignals();
            server.Start();
            serverkit::AnnounceListening(server.port());
            while (!serverkit::StopRequested().load())
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            server.Stop();
            log.Line("%s: stopped", service->name());
        }
    }
    log.SetRecordSink(nullptr);
    if (record)
        std::fclose(record);
    return code;
}
