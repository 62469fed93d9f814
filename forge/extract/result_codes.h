#pragma once

// Result codes of the picture reader and the block height extraction, one
// numbering that the build pipeline turns into messages. Errors travel only as
// these integers; nothing is thrown.

inline constexpr int RESULT_OK = 0;
inline constexpr int RESULT_READ_ERROR = -1;            // file ended or a read failed
inline constexpr int RESULT_TYPE_UNREADABLE = 3;        // first two bytes could not be read
inline constexpr int RESULT_NOT_BMP = 1000;             // first two bytes are not "BM"
inline constexpr int RESULT_BAD_HEADER = 1001;          // a header sanity check failed
inline constexpr int RESULT_UNSUPPORTED_BMP = 1002;     // legal header of a kind not decoded
inline constexpr int RESULT_NO_MEMORY_PALETTE = 1003;   // palette storage could not be had
inline constexpr int RESULT_NO_MEMORY_PIXELS = 1004;    // pixel array could not be allocated
inline constexpr int RESULT_NO_MEMORY = 1005;           // extraction's working storage
inline constexpr int RESULT_NO_MAP_BLOCKS = 1006;       // no whole 10 x 10 map block in the picture
inline constexpr int RESULT_TOO_MANY_BLOCKS = 1007;     // more block rows or columns than a grid holds
inline constexpr int RESULT_HEIGHTS_TOO_LARGE = 1008;   // a colour's height passes the 32-bit range
inline constexpr int RESULT_TEMP_FILE_FAILED = 2005;    // height values file not creatable
inline constexpr int RESULT_CANNOT_OPEN_BMP = 2020;     // picture could not be opened

// A seek failure returns the seek's own non-zero status, which is none of the above
// except possibly RESULT_READ_ERROR (-1).
