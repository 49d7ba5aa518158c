#include "LineLog.h"

#include <cstdio>
#include <ctime>
#include <vector>

#include <sys/time.h>

namespace serverkit {

LineLog::LineLog(Sink sink, bool verbose, size_t maxLine)
    : sink_(std::move(sink)), verbose_(verbose), maxLine_(maxLine > 0 ? maxLine : 1)
{
}

void LineLog::Line(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Emit(format, args);
    va_end(args);
}

void LineLog::Detail(const char* format, ...)
{
    if (!verbose_)
        return;
    va_list args;
    va_start(args, format);
    Emit(format, args);
    va_end(args);
}

void LineLog::Emit(const char* format, va_list args)
{
    std::vector<char> text(maxLine_);
    std::vsnprintf(text.data(), text.size(), format, args);
    std::lock_guard<std::mutex> lock(mutex_);
    if (sink_) {
        sink_(text.data());
        return;
    }
    timeval now;
    gettimeofday(&now, nullptr);
    tm local;
    localtime_r(&now.tv_sec, &local);
    std::fprintf(stderr, "%02d:%02d:%02d.%03d %s\n", local.tm_hour, local.tm_min, local.tm_sec,
                 static_cast<int>(now.tv_usec / 1000), text.data());
}

}  // namespace serverkit
