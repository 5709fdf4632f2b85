// With glibc told to keep freed memory, a large block freed is the next block of its size: no
// fresh pages for the next solve. (The sanitizers bring their own allocator: nothing to check.)

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/numeric/allocator_reuse.h"

#if defined(__SANITIZE_ADDRESS__)
#define WACHTRIX_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WACHTRIX_OWN_ALLOCATOR 1
#endif
#endif

TEST(AllocatorReuse, AFreedLargeBlockIsTheNextOfItsSize) {
#if defined(__GLIBC__) && !defined(WACHTRIX_OWN_ALLOCATOR)
    wachtrix::KeepFreedMemoryForReuse();
    constexpr std::size_t kSolverVector = 8 << 20;  // 8 MB, far above glibc's usual threshold
    void* first = std::malloc(kSolverVector);
    ASSERT_NE(first, nullptr);
    std::free(first);
    void* second = std::malloc(kSolverVector);
    EXPECT_EQ(second, first);
    std::free(second);
#else
    GTEST_SKIP() << "not glibc's allocator";
#endif
}
