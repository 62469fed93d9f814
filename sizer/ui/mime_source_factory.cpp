#include "sizer/ui/mime_source_factory.h"


namespace {

struct BuiltInPicture {
    const char* name;     // the name windows ask for
    const char* resource; // where the compressed picture is compiled in
};

// The names keep the file kinds the windows have always asked for; the
// pictures themselves are stored as PNG.
constexpr BuiltInPicture BUILT_IN_PICTURES[] = {
    {"window_icon.png", ":/sizer/window_icon.png"},
    {"9pbnIcon.bmp", ":/sizer/9pbnIcon.png"},
    {"splash.bmp", ":/sizer/splash.png"},
};

} // namespace

static void initSizerImages()
{
    // Resources linked from a static library must be registered by hand.
    Q_INIT_RESOURCE(sizer_images);
}

MimeSourceFactory_QarnSizer::MimeSourceFactory_QarnSizer()
{
    initSizerImages();
}

MimeSourceFactory_QarnSizer& MimeSourceFactory_QarnSizer::defaultFactory()
{
    static MimeSourceFactory_QarnSizer factory;
    return factory;
}

QImage MimeSourceFactory_QarnSizer::data(const QString& name) const
{
    if (name.isEmpty())
        return {};
    const auto cached = cache_.constFind(name);
    if (cached != cache_.constEnd())
        return *cached;
    for (const BuiltInPicture& picture : BUILT_IN_PICTURES) {
        if (name.compare(QLatin1String(picture.name), Qt::CaseSensitive) != 0)
            continue;
        QImage image(QString::fromLatin1(picture.resource), "PNG");
        ++decodeCount_;
        if (image.isNull())
            return {};
        cache_.insert(name, image);
        return image;
    }
    return {};
}
