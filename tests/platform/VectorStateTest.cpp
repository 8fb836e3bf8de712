// The window system's libraries leave the upper halves of the vector registers marked in use, and
// while they are, every older vector instruction of ours pays for merging with them. Each event
// must start with them cleared.
#include "platform/Application.h"
#include "platform/Seams.h"

#include <QTimer>

#include <gtest/gtest.h>

#if defined(__x86_64__)
#include <cpuid.h>
#endif

#include <cstdint>
#include <optional>

namespace {

#if defined(__x86_64__)
// Whether the processor tells which parts of the register state are in use (XGETBV with ECX=1).
bool StateInUseReadable() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid_count(1, 0, &a, &b, &c, &d) || !(c & bit_OSXSAVE) || !(c & bit_AVX)) return false;
    if (!__get_cpuid_count(0xD, 1, &a, &b, &c, &d)) return false;
    return (a & (1u << 2)) != 0;
}

// True while the upper halves of registers 0-15 are marked in use.
bool UpperHalvesInUse() {
    std::uint32_t low = 0, high = 0;
    asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    return (low & (1u << 2)) != 0;
}

// Marks them in use, as the window system's libraries leave them.
__attribute__((target("avx"))) void DirtyUpperHalves() {
    asm volatile("vpcmpeqd %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
}
#endif

TEST(VectorState, AnEventStartsWithTheUpperHalvesOfTheVectorRegistersCleared) {
#if defined(__x86_64__)
    if (!StateInUseReadable()) GTEST_SKIP() << "the processor does not tell which register state is in use";
    DirtyUpperHalves();
    ASSERT_TRUE(UpperHalvesInUse());
    std::optional<bool> inUseInEvent;
    QTimer::singleShot(0, [&] { inUseInEvent = UpperHalvesInUse(); });
    for (int i = 0; i < 100 && !inUseInEvent; ++i)
        platform::WaitForEvents(10);
    ASSERT_TRUE(inUseInEvent.has_value());
    EXPECT_FALSE(*inUseInEvent);

    DirtyUpperHalves();
    platform::ClearStaleVectorState();
    EXPECT_FALSE(UpperHalvesInUse());
#else
    GTEST_SKIP() << "only x86-64 processors keep such state";
#endif
}

} // namespace
