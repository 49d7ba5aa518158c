// Test main shared by every test program.
//
// Under Wine a crash starts winedbg, whose exit code is sometimes 0, so a
// crashing test could pass. The unhandled-exception filter reports the
// faulting test and ends the process with 0xC0DE instead.
//
// A filter that matches no test (a renamed test behind a ctest entry) fails
// the run rather than passing with nothing checked.
#include <gtest/gtest.h>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>

static LONG WINAPI ReportCrashAndExit(EXCEPTION_POINTERS* ep)
{
    const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
    fprintf(stderr, "FATAL: unhandled exception 0x%08lx at %p in %s.%s\n",
            static_cast<unsigned long>(ep->ExceptionRecord->ExceptionCode),
            ep->ExceptionRecord->ExceptionAddress,
            t ? t->test_suite_name() : "?", t ? t->name() : "?");
    fflush(stdout);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 0xC0DE);
    return EXCEPTION_EXECUTE_HANDLER;
}
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(ReportCrashAndExit);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    try {
        const int result = RUN_ALL_TESTS();
        if (result == 0 && ::testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
            fprintf(stderr, "FATAL: no test matches the filter\n");
            return 4;
        }
        return result;
    } catch (const std::exception& e) {
        fprintf(stderr, "FATAL: unhandled exception: %s\n", e.what());
    } catch (...) {
        fprintf(stderr, "FATAL: unhandled exception of unknown type\n");
    }
    return 3;
}
