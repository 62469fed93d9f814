#include "mime_source_factory_qarnforge.h"


// Resource registration lives outside any namespace, as the macro requires.
static void registerForgeImages()
{
    Q_INIT_RESOURCE(forge_images);
}

namespace {

const MimeSourceFactory_QarnForge::Entry kPictures[] = {
    {"fileopen", ":/qarnforge/images/fileopen.png", 22, 22, true},
    {"filesave", ":/qarnforge/images/filesave.png", 22, 22, true},
    {"smallico.bmp", ":/qarnforge/images/smallico.png", 32, 32, false},
    {"QarnTD_final.bmp", ":/qarnforge/images/splash.png", 686, 377, false},
    {nullptr, nullptr, 0, 0, false},
};

} // namespace

MimeSourceFactory_QarnForge::MimeSourceFactory_QarnForge()
{
    registerForgeImages();
}

MimeSourceFactory_QarnForge& MimeSourceFactory_QarnForge::instance()
{
    static MimeSourceFactory_QarnForge factory;
    return factory;
}

const MimeSourceFactory_QarnForge::Entry* MimeSourceFactory_QarnForge::table()
{
    return kPictures;
}

QImage MimeSourceFactory_QarnForge::data(const QString& name)
{
    if (name.isNull())
        return {};
    if (auto cached = cache_.constFind(name); cached != cache_.constEnd())
        return *cached;

    for (const Entry* e = kPictures; e->name; ++e) {
        if (QString::fromUtf8(e->name) != name)
            continue;
        QImage image(QString::fromLatin1(e->resource));
        ++decodes_;
        if (image.isNull() || image.width() != e->width || image.height() != e->height)
            return {};
        image = image.convertToFormat(e->alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        cache_.insert(name, image);
        return image;
    }
    return {};
}

QPixmap MimeSourceFactory_QarnForge::pixmap(const QString& name)
{
    const QImage image = instance().data(name);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}
