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
    for (const Finding& finding : check.findings)
        if (finding.kind != FindingKind::Cliff && inside(finding.at))
            list.problems.push_back({finding.at.row - 1, finding.at.col - 1, finding.severity, findingText(finding)});
    for (const Cliff& cliff : check.cliffs) {
        const Finding& steepest = check.findings[cliff.steepest];
        if (inside(steepest.at))
            list.problems.push_back(
                {steepest.at.row - 1, steepest.at.col - 1, steepest.severity, cliffText(check, cliff)});
    }
    std::stable_sort(list.problems.begin(), list.problems.end(), [](const Problem& a, const Problem& b) {
        return std::tie(a.row, a.col, a.severity) < std::tie(b.row, b.col, b.severity);
    });

    // Each block to its problem: a cliff's pairs, both blocks of each, to the cliff.
    list.atBlock.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0);
    const auto mark = [&](const BlockSpot& spot, std::size_t problem) {
        if (!inside(spot))
            return;
        std::int32_t& at = list.atBlock[static_cast<std::size_t>(spot.row - 1) * static_cast<std::size_t>(cols) +
                                        static_cast<std::size_t>(spot.col - 1)];
        if (at == 0 || list.problems[static_cast<std::size_t>(at - 1)].severity > list.problems[problem].severity)
            at = static_cast<std::int32_t>(problem + 1);
    };
    const auto indexOf = [&](const BlockSpot& spot, const std::string& text) {
        for (std::size_t k = 0; k < list.problems.size(); ++k)
            if (list.problems[k].row == spot.row - 1 && list.problems[k].col == spot.col - 1 &&
                list.problems[k].text == text)
                return k;
        return list.problems.size();
    };
    for (const Finding& finding : check.findings)
        if (finding.kind != FindingKind::Cliff && inside(finding.at))
            mark(finding.at, indexOf(finding.at, findingText(finding)));
    for (const Cliff& cliff : check.cliffs) {
        const Finding& steepest = check.findings[cliff.steepest];
        if (!inside(steepest.at))
            continue;
        const std::size_t k = indexOf(steepest.at, cliffText(check, cliff));
        // The cliff's pairs: the Cliff findings grouped into it lie within its extent.
        for (const Finding& pair : check.findings)
            if (pair.kind == FindingKind::Cliff && pair.at.row >= cliff.firstRow && pair.at.row <= cliff.lastRow &&
                pair.at.col >= cliff.firstCol && pair.at.col <= cliff.lastCol) {
                mark(pair.at, k);
                mark(pair.next, k);
            }
    }
    return list;
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
