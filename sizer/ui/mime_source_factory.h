#pragma once

#include "qtsupport/picture_collection.h"

namespace qarn::sizer {

// QarnSizer's built-in pictures: "window_icon.png", "9pbnIcon.bmp" and
// "splash.bmp", looked up and cached as PictureCollection says.
class MimeSourceFactory_QarnSizer : public PictureCollection {
public:
    MimeSourceFactory_QarnSizer();

    // The program's one collection, made on first use.
    static MimeSourceFactory_QarnSizer& defaultFactory();
};

} // namespace qarn::sizer
