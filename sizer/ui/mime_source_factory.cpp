#include "sizer/ui/mime_source_factory.h"

// Resources linked from a static library must be registered by hand, outside
// any namespace.
static void initSizerImages()
{
    Q_INIT_RESOURCE(sizer_images);
}

namespace qarn::sizer {

namespace {

// The names keep the file kinds the windows have always asked for; the
// pictures themselves are stored as PNG.
const PictureCollection::Entry BUILT_IN_PICTURES[] = {
    {"window_icon.png", ":/sizer/window_icon.png"},
    {"9pbnIcon.bmp", ":/sizer/9pbnIcon.png"},
    {"splash.bmp", ":/sizer/splash.png"},
    {nullptr, nullptr},
};

} // namespace

MimeSourceFactory_QarnSizer::MimeSourceFactory_QarnSizer() : PictureCollection(BUILT_IN_PICTURES)
{
    initSizerImages();
}

MimeSourceFactory_QarnSizer& MimeSourceFactory_QarnSizer::defaultFactory()
{
    static MimeSourceFactory_QarnSizer factory;
    return factory;
}

} // namespace qarn::sizer
