#include "ServerLog.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

#include <sys/time.h>

namespace tableserver {

ServerLog::ServerLog(Sink sink, bool verbose) : sink_(std::move(sink)), verbose_(verbose) {}

void ServerLog::Line(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Emit(format, args);
    va_end(args);
}

void ServerLog::Detail(const char* format, ...)
{
    if (!verbose_)
        return;
    va_list args;
    va_start(args, format);
    Emit(format, args);
    va_end(args);
}

void ServerLog::Emit(const char* format, va_list args)
{
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    if (sink_) {
        sink_(text);
        return;
    }
    timeval now;
    gettimeofday(&now, nullptr);
    tm local;
    localtime_r(&now.tv_sec, &local);
    std::fprintf(stderr, "%02d:%02d:%02d.%03d %s\n", local.tm_hour, local.tm_min, local.tm_sec,
                 static_cast<int>(now.tv_usec / 1000), text);
}

}  // namespace tableserver
