#pragma once

#include "qtsupport/picture_collection.h"

namespace qarn::forge {

// The builder's built-in pictures: "fileopen", "filesave", "smallico.bmp" and
// "QarnTD_final.bmp", looked up and cached as PictureCollection says.
class MimeSourceFactory_QarnForge : public PictureCollection {
public:
    // The one collection of the process, made on first use.
    static MimeSourceFactory_QarnForge& instance();

private:
    MimeSourceFactory_QarnForge();
};

} // namespace qarn::forge
