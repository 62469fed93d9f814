// The smoothing passes: runs of equal base height along a line become ramps,
// raised crests and shoulders, and filled troughs, one candidate per position.
// Every value is worked in double precision and kept as a 32-bit float exactly
// where noted, because the saved grid must match bit for bit.

#include <algorithm>

#include "forge/grid/elevation_grid.h"
#include "forge/grid/height_rounding.h"

namespace qarn {

namespace {

// Step k of a ramp of n steps from a towards b: k x s x K + a, with the slope
// s = (b - a) / (n x K) kept as a 32-bit float (or, for the trough's climbing
// line, in double precision).
struct Ramp {
    double from;
    double slope;

    static Ramp stored(int steps, float a, float b)
    {
        return {a, static_cast<float>(exactSlope(steps, a, b))};
    }
    static Ramp unrounded(int steps, float a, float b) { return {a, exactSlope(steps, a, b)}; }

    float at(int k) const { return static_cast<float>(static_cast<double>(k) * slope * CELL_SPACING_METRES + from); }

private:
    static double exactSlope(int steps, float a, float b)
    {
        return (static_cast<double>(b) - static_cast<double>(a)) / (steps * CELL_SPACING_METRES);
    }
};

constexpr double RAISE_SMALL = 0.1;
constexpr double RAISE = 0.2;
constexpr double RAISE_TOP = 0.4;

} // namespace

void ElevationGrid::giveRaised(const std::int32_t* line, int i, double factor)
{
    give(line, i, static_cast<float>(factor * contourInterval_ + baseAt(line, i)));
}

void ElevationGrid::giveRamp(const std::int32_t* line, int firstPos, int firstStep, int lastStep, int steps,
                             float from, float to)
{
    const Ramp ramp = Ramp::stored(steps, from, to);
    for (int k = firstStep; k <= lastStep; ++k)
        give(line, firstPos + (k - firstStep), ramp.at(k));
}

void ElevationGrid::smoothLine(const std::int32_t* line, int length)
{
    if (line == nullptr || length <= 0)
        return;
    const int L = length;
    const double c = contourInterval_;
    const auto raisedValue = [c](double factor, float h) { return static_cast<float>(factor * c + h); };

    // s: first position of the run, e: scan position, p: last position of the run before.
    int s = 0;
    int e = 0;
    int p = 0;
    while (e <= L) {
        const float hs = baseAt(line, s);
        int n = 0;
        while (e < L && baseAt(line, e) == hs) {
            ++n;
            ++e;
        }
        const float hp = baseAt(line, p);

        if (e == L) {
            if (hp < hs) { // rising end
                if (n == 1) {
                    giveOwn(line, s);
                } else if (n == 2) {
                    giveOwn(line, s);
                    giveRaised(line, s + 1, RAISE);
                } else if (n == 3) {
                    giveOwn(line, s);
                    giveRaised(line, s + 1, RAISE_SMALL);
                    giveRaised(line, s + 2, RAISE);
                } else {
                    const float top = raisedValue(RAISE_TOP, baseAt(line, L - 1));
                    giveRamp(line, s, 0, n - 2, n, hs, top);
                    give(line, L - 1, top);
                }
            } else if (hp > hs) { // falling end
                giveRamp(line, p + 1, 1, n - 1, n, hp, baseAt(line, L - 1));
                giveOwn(line, L - 1);
            } else { // level end
                for (int k = 0; k < n; ++k)
                    giveOwn(line, s + k);
            }
            break;
        }

        const float he = baseAt(line, e);
        const float hLast = baseAt(line, e - 1);
        if (hs < he && hp <= hs) { // rise
            giveRamp(line, s, 0, n - 1, n, hs, he);
        } else if (hs < he) { // trough: each cell takes the higher of the falling and the climbing line
            const Ramp falling = Ramp::stored(n, hp, hLast);
            const Ramp climbing = Ramp::unrounded(n, hs, he);
            for (int k = 0; k <= n - 2; ++k)
                give(line, s + k, higherOf(falling.at(k + 1), climbing.at(k)));
            give(line, s + n - 1, climbing.at(n - 1));
        } else if (hp == hs) { // shoulder: level before (the line's start), a drop after
            if (n == 1) {
                giveOwn(line, s);
            } else if (n == 2) {
                giveRaised(line, s, RAISE);
                giveOwn(line, s + 1);
            } else if (n == 3) {
                giveRaised(line, s, RAISE);
                giveRaised(line, s + 1, RAISE_SMALL);
                giveOwn(line, s + 2);
            } else {
                const float base = raisedValue(RAISE_TOP, hs);
                giveRamp(line, s + 1, 1, n - 2, n, base, hLast);
                giveOwn(line, e - 1);
                give(line, s, raisedValue(RAISE_TOP, hs));
            }
        } else if (hp < hs) { // crest
            if (n <= 2) {
                for (int k = 0; k < n; ++k)
                    giveOwn(line, s + k);
            } else if (n <= 6) {
                static constexpr double raises[5][6] = {
                    {0, RAISE, 0},
                    {0, RAISE, RAISE, 0},
                    {0, RAISE, RAISE_TOP, RAISE, 0},
                    {0, RAISE, RAISE_TOP, RAISE_TOP, RAISE, 0},
                };
                const double* row = raises[n - 3];
                for (int k = 0; k < n; ++k) {
                    if (row[k] == 0)
                        giveOwn(line, s + k);
                    else
                        giveRaised(line, s + k, row[k]);
                }
            } else if (n % 2 == 1) {
                const int m = n / 2;
                const float top = raisedValue(RAISE_TOP, baseAt(line, s + m));
                giveRamp(line, s, 0, m - 1, m, hs, top);
                give(line, s + m, top);
                giveRamp(line, s + m + 1, 1, m - 1, m, top, hLast);
                giveOwn(line, e - 1);
            } else {
                const int m = n / 2;
                const float top = raisedValue(RAISE_TOP, baseAt(line, s + m - 1));
                giveRamp(line, s, 0, m - 2, m - 1, hs, top);
                give(line, s + m - 1, top);
                give(line, s + m, top);
                giveRamp(line, s + m + 1, 1, m - 2, m - 1, top, hLast);
                giveOwn(line, e - 1);
            }
        } else { // fall: higher before, lower after
            giveRamp(line, p + 1, 1, n - 1, n, hp, hLast);
            giveOwn(line, e - 1);
        }
        p = e - 1;
        s = e;
    }
}

void ElevationGrid::smoothRows()
{
    if (positions_.empty())
        return;
    for (std::int32_t i = 0; i < paddedRows_; ++i)
        smoothLine(&positions_[static_cast<std::size_t>(i) * static_cast<std::size_t>(paddedCols_)], paddedCols_);
}

void ElevationGrid::smoothColumns()
{
    if (positions_.empty())
        return;
    for (std::int32_t j = 0; j < paddedCols_; ++j) {
        for (std::int32_t i = 0; i < paddedRows_; ++i)
            lineBuffer_[static_cast<std::size_t>(i)] = cellIndexAt(i, j);
        smoothLine(lineBuffer_.data(), paddedRows_);
    }
}

// Down-right lines, or down-left ones when mirrored (the walk on the grid seen
// in a mirror, so the lines start in the last column and go leftwards).
void ElevationGrid::smoothDiagonalLines(bool mirrored)
{
    if (positions_.empty())
        return;
    const auto column = [this, mirrored](int j) { return mirrored ? paddedCols_ - 1 - j : j; };
    std::int32_t* line = lineBuffer_.data();
    for (std::int32_t d = paddedRows_ - 1; d >= 1; --d) {
        const int length = std::min(paddedRows_ - d, paddedCols_);
        for (int t = 0; t < length; ++t)
            line[t] = cellIndexAt(d + t, column(t));
        smoothLine(line, length);
    }
    for (std::int32_t j = 0; j < paddedCols_; ++j) {
        const int length = std::min(paddedRows_, paddedCols_ - j);
        for (int t = 0; t < length; ++t)
            line[t] = cellIndexAt(t, column(j + t));
        smoothLine(line, length);
    }
}

void ElevationGrid::smoothDiagonals()
{
    smoothDiagonalLines(false);
}

void ElevationGrid::smoothAntiDiagonals()
{
    smoothDiagonalLines(true);
}

} // namespace qarn
