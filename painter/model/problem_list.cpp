#include "painter/model/problem_list.h"

#include <algorithm>
#include <tuple>

namespace qarn {

ProblemList problemList(const PictureCheck& check, std::int32_t rows, std::int32_t cols)
{
    ProblemList list;
    const auto inside = [&](const BlockSpot& spot) {
        return !spot.empty() && spot.row <= rows && spot.col >= 1 && spot.col <= cols;
    };
    // Each problem with the finding it stands for (for a cliff, its steepest pair), sorted by block.
    std::vector<std::pair<Problem, const Cliff*>> found;
    for (const Finding& finding : check.findings)
        if (finding.kind != FindingKind::Cliff && inside(finding.at))
            found.push_back({{finding.at.row - 1, finding.at.col - 1, finding.severity, findingText(finding)}, nullptr});
    for (const Cliff& cliff : check.cliffs) {
        const Finding& steepest = check.findings[cliff.steepest];
        if (inside(steepest.at))
            found.push_back(
                {{steepest.at.row - 1, steepest.at.col - 1, steepest.severity, cliffText(check, cliff)}, &cliff});
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first.row, a.first.col, a.first.severity) <
               std::tie(b.first.row, b.first.col, b.first.severity);
    });

    // Each block to its problem, the worst where several meet.
    list.atBlock.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0);
    const auto block = [&](std::int32_t row, std::int32_t col) -> std::int32_t& {
        return list.atBlock[static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) +
                            static_cast<std::size_t>(col)];
    };
    const auto mark = [&](std::int32_t row, std::int32_t col, std::size_t problem) {
        std::int32_t& at = block(row, col);
        if (at == 0 || found[static_cast<std::size_t>(at - 1)].first.severity > found[problem].first.severity)
            at = static_cast<std::int32_t>(problem + 1);
    };
    // A cliff's blocks: those of steep pairs within its extent; the check does not say which cliff a pair joined,
    // and where extents overlap the earlier cliff keeps a block.
    std::vector<std::uint8_t> steep(list.atBlock.size(), 0);
    for (const Finding& pair : check.findings)
        if (pair.kind == FindingKind::Cliff)
            for (const BlockSpot& spot : {pair.at, pair.next})
                if (inside(spot))
                    steep[static_cast<std::size_t>(spot.row - 1) * static_cast<std::size_t>(cols) +
                          static_cast<std::size_t>(spot.col - 1)] = 1;
    for (std::size_t k = 0; k < found.size(); ++k) {
        const Cliff* cliff = found[k].second;
        if (!cliff) {
            mark(found[k].first.row, found[k].first.col, k);
            continue;
        }
        for (std::int32_t r = std::max(cliff->firstRow, 1) - 1; r < std::min(cliff->lastRow, rows); ++r)
            for (std::int32_t c = std::max(cliff->firstCol, 1) - 1; c < std::min(cliff->lastCol, cols); ++c)
                if (steep[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)])
                    mark(r, c, k);
    }
    for (auto& [problem, cliff] : found)
        list.problems.push_back(std::move(problem));
    return list;
}

ProblemCount problemCount(const PictureCheck& check)
{
    const auto pairs = static_cast<std::size_t>(std::count_if(
        check.findings.begin(), check.findings.end(), [](const Finding& f) { return f.kind == FindingKind::Cliff; }));
    return {check.count(Severity::Error), check.count(Severity::Warning) - pairs + check.cliffs.size()};
}

std::ptrdiff_t ProblemList::step(std::int32_t row, std::int32_t col, bool forward, bool warnings) const
{
    const auto n = static_cast<std::ptrdiff_t>(problems.size());
    // The first problem past the block in the direction of the walk.
    std::ptrdiff_t start = 0;
    while (start < n && std::tie(problems[static_cast<std::size_t>(start)].row,
                                 problems[static_cast<std::size_t>(start)].col) <= std::tie(row, col))
        ++start;
    if (!forward) {
        start = 0;
        while (start < n && std::tie(problems[static_cast<std::size_t>(start)].row,
                                     problems[static_cast<std::size_t>(start)].col) < std::tie(row, col))
            ++start;
        start -= 1;
    }
    for (std::ptrdiff_t k = 0; k < n; ++k) {
        const std::ptrdiff_t at = ((forward ? start + k : start - k) % n + n) % n;
        if (warnings || problems[static_cast<std::size_t>(at)].severity == Severity::Error)
            return at;
    }
    return -1;
}

} // namespace qarn
