// Writes the system elevation colour set as a GIMP palette (.gpl), so a map can
// be painted in an image editor with exactly the colours the builder knows.
// Run at build time; the colours come from the core's own table.
#include <cctype>
#include <cstdio>
#include <string>

#include "common/atomic_file.h"
#include "forge/extract/colour_height_set.h"

using namespace qarn;

namespace {

constexpr int HEIGHT_RUNGS = 18;

std::string upper(const char* text)
{
    std::string out(text);
    for (char& ch : out)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return out;
}

// The role of entry `index` of the system set.
std::string roleOf(std::size_t index)
{
    const Rgb& colour = SYSTEM_COLOUR_SET[index];
    for (const ReservedColour& reserved : RESERVED_COLOURS) {
        if (reserved.colour == colour) {
            if (reserved.code == RESERVED_BLUE1)
                return "flat area (" + upper(reserved.name) + ")";
            return "reserved " + upper(reserved.name) + " (not for maps)";
        }
    }
    std::string role = "height rung " + std::to_string(index);
    if (index == 0)
        role += " (lowest)";
    else if (index == HEIGHT_RUNGS - 1)
        role += " (highest)";
    return role;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.gpl\n", argv[0]);
        return 2;
    }
    AtomicFile file(argv[1]);
    if (file.open() != FileResult::Ok) {
        std::fprintf(stderr, "%s: %s\n", argv[1], file.error().c_str());
        return 1;
    }
    std::FILE* out = file.stream();
    std::fprintf(out, "GIMP Palette\n"
                      "Name: Qarn system elevation colours\n"
                      "Columns: 6\n"
                      "# The built-in colour set of QarnForge and qarn build --colour-set system.\n"
                      "# Height rung k stands for minimum elevation + k x contour interval.\n"
                      "# Paint flat areas (lakes) in the flat-area colour; the other reserved\n"
                      "# colours stop a build with a colour error.\n");
    for (std::size_t i = 0; i < SYSTEM_COLOUR_SET.size(); ++i) {
        const Rgb& colour = SYSTEM_COLOUR_SET[i];
        std::fprintf(out, "%3d %3d %3d\t%s\n", colour.red, colour.green, colour.blue, roleOf(i).c_str());
    }
    if (file.commit() != FileResult::Ok) {
        std::fprintf(stderr, "%s: %s\n", argv[1], file.error().c_str());
        return 1;
    }
    return 0;
}
