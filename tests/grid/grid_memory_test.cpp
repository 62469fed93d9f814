// Runs the build with each of its allocations failing in turn: the build must
// report it and keep the grid it had. This program replaces operator new, so it
// stands alone.
#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "tests/grid/grid_fixture.h"

namespace {
bool armed = false;
long allocationsLeft = 0;

// Kept out of line so the compiler does not pair a new expression with free.
[[gnu::noinline]] void release(void* p) noexcept
{
    std::free(p);
}
} // namespace

// Replaced as a matched set over malloc and free.
void* operator new(std::size_t size)
{
    if (armed && allocationsLeft-- == 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void* p) noexcept
{
    release(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    release(p);
}
void operator delete[](void* p) noexcept
{
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    release(p);
}

using namespace grid_test;

TEST(GridMemory, EveryFailedAllocationIsReportedAndKeepsTheLastGrid)
{
    // Several flat areas, so the level store and the labelling stack grow.
    Heights values(6, std::vector<float>(40, 100.0f));
    for (int c = 1; c < 40; c += 2)
        values[3][static_cast<std::size_t>(c)] = B1;
    const std::string text = blockLines(values);

    ElevationGrid grid = builtGrid({{7, 8}, {9, 10}});
    const float lastHeight = grid.height(1, 1);
    int failures = 0;
    for (long failAt = 0;; ++failAt) {
        std::FILE* stream = streamOf(text);
        ASSERT_NE(stream, nullptr);
        allocationsLeft = failAt;
        armed = true;
        const int result = grid.build(stream, 6, 40, 10.0f, 0.0f);
        armed = false;
        std::fclose(stream);
        if (result == GRID_RESULT_OK)
            break;
        ++failures;
        ASSERT_EQ(result, GRID_RESULT_NO_MEMORY) << failAt;
        ASSERT_EQ(grid.rows(), 2);
        ASSERT_EQ(grid.height(1, 1), lastHeight);
    }
    EXPECT_GE(failures, 5);
    EXPECT_EQ(grid.rows(), 6);
    EXPECT_EQ(grid.nextAreaId(), 21);
}
