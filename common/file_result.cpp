#include "common/file_result.h"

namespace qarn {

const char* describe(FileResult result)
{
    switch (result) {
    case FileResult::Ok:
        return "done";
    case FileResult::NoName:
        return "no file name";
    case FileResult::CannotOpen:
        return "cannot open the file";
    case FileResult::NotRegular:
        return "not a regular file";
    case FileResult::TooShort:
        return "the file is too short";
    case FileResult::CannotCreate:
        return "cannot create the file";
    case FileResult::WriteFailed:
        return "cannot write the file";
    case FileResult::CannotReplace:
        return "cannot replace the file";
    }
    return "unknown file error";
}

} // namespace qarn
