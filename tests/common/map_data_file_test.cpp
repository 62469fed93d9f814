#include "common/map_data_file.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

using qarn_test::readFile;
using qarn_test::TempDir;
using qarn_test::writeFile;

TEST(MapDataFile, WritesTheSixteenBytesOfTheWorkedExample)
{
    TempDir dir;
    const std::string path = dir.file(MAP_DATA_FILE_NAME);
    std::string error;
    ASSERT_TRUE(writeMapDataFile(path, MapData{800, 1000, METRES_PER_ARC_SECOND}, error)) << error;
    const std::string expected("\x20\x03\x00\x00\xE8\x03\x00\x00\xC4\x5E\x6A\x7C\x0D\xEC\x3E\x40", 16);
    EXPECT_EQ(readFile(path), expected);
}

TEST(MapDataFile, ReadsBackWhatWasWrittenIncludingNegativeValues)
{
    TempDir dir;
    const std::string path = dir.file(MAP_DATA_FILE_NAME);
    std::string error;
    ASSERT_TRUE(writeMapDataFile(path, MapData{-5, 2147483647, -0.5}, error));
    MapData back;
    ASSERT_TRUE(readMapDataFile(path, back));
    EXPECT_EQ(back.heightTens, -5);
    EXPECT_EQ(back.widthTens, 2147483647);
    EXPECT_EQ(back.metresPerArcSecond, -0.5);
}

TEST(MapDataFile, ShortOrMissingFileCountsAsMissingAndLeavesValues)
{
    TempDir dir;
    const std::string path = dir.file(MAP_DATA_FILE_NAME);
    MapData values{1, 2, 3.0};
    EXPECT_FALSE(readMapDataFile(path, values));
    for (std::size_t size : {0u, 1u, 8u, 15u}) {
        writeFile(path, std::string(size, '\x7f'));
        EXPECT_FALSE(readMapDataFile(path, values)) << size << " bytes";
    }
    EXPECT_EQ(values.heightTens, 1);
    EXPECT_EQ(values.widthTens, 2);
    EXPECT_EQ(values.metresPerArcSecond, 3.0);
    // Extra bytes after the record are ignored.
    writeFile(path, encodeMapData(MapData{7, 9, 1.5}) + "tail");
    ASSERT_TRUE(readMapDataFile(path, values));
    EXPECT_EQ(values.heightTens, 7);
}

TEST(MapDataFile, LooksBesideThePicture)
{
    EXPECT_EQ(mapDataPathFor("C:/maps/alpha.bmp"), "C:/maps/QarnSizer_MAP_Data.xdt");
    EXPECT_EQ(mapDataPathFor("/tmp/a b/map.BMP"), "/tmp/a b/QarnSizer_MAP_Data.xdt");
    EXPECT_EQ(mapDataPathFor("alpha.bmp"), "QarnSizer_MAP_Data.xdt");
    EXPECT_EQ(mapDataPathFor("/map.bmp"), "/QarnSizer_MAP_Data.xdt");
}
