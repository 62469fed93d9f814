#include "sizer/run_details_report.h"

#include "common/atomic_file.h"
#include "common/map_data_file.h"
#include "common/platform.h"

namespace qarn {

bool exitWritesFiles(const RunDetails& details)
{
    return details.widthMetres > 0 && details.heightMetres > 0;
}

bool writeRunDetailsReport(std::FILE* out, const RunDetails& details)
{
    const MapSizeCalculation& calc = details.calculation;
    std::fprintf(out, "\n   BMP details for the requested map size\n\n");
    std::fprintf(out, "Original map size Width  : %lld meters\n", static_cast<long long>(details.widthMetres));
    std::fprintf(out, "                  Height : %lld meters\n", static_cast<long long>(details.heightMetres));
    std::fprintf(out, "\n");
    std::fprintf(out, "Map size for Tesselkit:\n");
    std::fprintf(out, "                  Width  : %d (10's m)\n", static_cast<int>(details.widthTens));
    std::fprintf(out, "                  Height : %d (10's m)\n", static_cast<int>(details.heightTens));
    std::fprintf(out, "\n");
    std::fprintf(out, " The map ONLY is to be:\n");
    std::fprintf(out, "     %8d pixels Wide\n", static_cast<int>(calc.pixelWidth));
    std::fprintf(out, "     %8d pixels High\n", static_cast<int>(calc.pixelHeight));
    std::fprintf(out, "\n");
    std::fprintf(out, " The map with a USER defined colour set is to be:\n");
    std::fprintf(out, "     %8d pixels Wide\n", static_cast<int>(details.userPixelWidth));
    std::fprintf(out, "     %8d pixels High\n", static_cast<int>(details.userPixelHeight));
    std::fprintf(out, "\n");
    std::fprintf(out, " The map defined above will be approximately:\n");
    std::fprintf(out, "     Width  : %d meters\n", static_cast<int>(calc.approxWidthMetres));
    std::fprintf(out, "     Height : %d meters\n", static_cast<int>(calc.approxHeightMetres));
    std::fprintf(out, "\n=============================================\n");
    return std::ferror(out) == 0;
}

namespace {

std::string inDirectory(const std::string& directory, const char* name)
{
    if (directory.empty())
        return name;
    return platform::isFolderSeparator(directory.back()) ? directory + name : directory + '/' + name;
}

} // namespace

std::vector<ExitFileFailure> writeExitFiles(const RunDetails& details, const std::string& directory)
{
    std::vector<ExitFileFailure> failures;

    AtomicFile report(inDirectory(directory, RUN_DETAILS_FILE_NAME));
    if (report.open() != FileResult::Ok || !writeRunDetailsReport(report.stream(), details) ||
        report.commit() != FileResult::Ok)
        failures.push_back({RUN_DETAILS_FILE_NAME, report.error().empty() ? "cannot write the file" : report.error()});

    // Height before width: the order the builder reads them in.
    const MapData mapData{details.heightTens, details.widthTens, METRES_PER_ARC_SECOND};
    std::string error;
    if (writeMapDataFile(inDirectory(directory, MAP_DATA_FILE_NAME), mapData, error) != FileResult::Ok)
        failures.push_back({MAP_DATA_FILE_NAME, error});
    return failures;
}

} // namespace qarn
