#include "mime_source_factory_qarnforge.h"

// Resource registration lives outside any namespace, as the macro requires.
static void registerForgeImages()
{
    Q_INIT_RESOURCE(forge_images);
}

namespace qarn::forge {

namespace {

const PictureCollection::Entry kPictures[] = {
    {"fileopen", ":/qarnforge/images/fileopen.png"},
    {"filesave", ":/qarnforge/images/filesave.png"},
    {"smallico.bmp", ":/qarnforge/images/smallico.png"},
    {"QarnTD_final.bmp", ":/qarnforge/images/splash.png"},
    {nullptr, nullptr},
};

} // namespace

MimeSourceFactory_QarnForge::MimeSourceFactory_QarnForge() : PictureCollection(kPictures)
{
    registerForgeImages();
}

MimeSourceFactory_QarnForge& MimeSourceFactory_QarnForge::instance()
{
    static MimeSourceFactory_QarnForge factory;
    return factory;
}

} // namespace qarn::forge
