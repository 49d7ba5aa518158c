// The native build of the portable parts is meant to run under AddressSanitizer
// and UndefinedBehaviorSanitizer; this fails when a build tree lost them.
#include <gtest/gtest.h>

#ifndef __has_feature
#define __has_feature(x) 0
#endif

#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

TEST(NativeHarness, SanitizersAreOn)
{
#ifdef MARDAVEL_EXPECT_SANITIZERS
    EXPECT_TRUE(kAddressSanitizer);
#else
    GTEST_SKIP() << "sanitizers are off in this tree";
#endif
}
