// mardavel_proxies: stand-ins for the SOCKS proxy, the relay proxy, the HTTP
// proxy and the HTTP tunnel relay, on a loopback port (see README.md).
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "CommandLine.h"

using namespace proxies;

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int)
{
    g_stop.store(true);
}

void CatchStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv)
{
    CommandLine command;
    std::string error;
    if (!ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), command, error)) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (command.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

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
            CatchStopSignals();
            server.Start();
            std::printf("listening on 127.0.0.1:%u\n", unsigned(server.port()));
            std::fflush(stdout);
            while (!g_stop.load())
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
