#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// One entry point per fuzzed reader, shared by the libFuzzer programs and the
// regression test. Each feeds one input through the reader and checks what
// came back against an independent reading of the same bytes. Errors: an empty
// string when every promise held, else a description of the first one broken;
// nothing is thrown. Inputs belong to the caller; scratch files belong to the
// entry point and are reused from call to call.

using FuzzEntryPoint = std::string (*)(const std::uint8_t* data, std::size_t size);

// The whole input is a BMP file, read from memory with loadBmp.
std::string fuzzBmpReader(const std::uint8_t* data, std::size_t size);

// Extraction inputs start with a fixed prefix, then the BMP file:
//   byte 0      bit 0 picks the colour set (1 system, 0 user)
//   bytes 1-4   minimum elevation, little-endian int32
//   bytes 5-8   contour interval, little-endian int32
inline constexpr std::size_t EXTRACTION_PREFIX_BYTES = 9;
std::string fuzzExtraction(const std::uint8_t* data, std::size_t size);

// The whole input is a map data file; it is also taken as a picture path.
std::string fuzzMapDataFile(const std::uint8_t* data, std::size_t size);

// The whole input is a typed number: a results-table cell, an entry of
// "CONFIRM DATA" and a size entry of the calculator.
std::string fuzzTableText(const std::uint8_t* data, std::size_t size);

// The whole input is a height values file, read back and built into a grid
// (the grid's own invariants are checked: cell kinds, flat-area levels).
std::string fuzzGridBuild(const std::uint8_t* data, std::size_t size);

// The entry point whose regression folder is `name` ("bmp_reader",
// "extraction", "map_data_file", "table_text", "grid_build"), or nullptr.
FuzzEntryPoint findFuzzEntryPoint(std::string_view name);

// A file for one entry point's scratch data: in $QARN_FUZZ_SCRATCH when set,
// else /dev/shm (or /tmp), named after `stem` and the process id.
std::string fuzzScratchPath(const char* stem);
