#include "qtsupport/picture_collection.h"

namespace qarn {

QImage PictureCollection::data(const QString& name) const
{
    if (name.isEmpty())
        return {};
    if (const auto cached = cache_.constFind(name); cached != cache_.constEnd())
        return *cached;
    for (const Entry* e = table_; e->name; ++e) {
        if (QString::fromUtf8(e->name) != name)
            continue;
        const QImage image(QString::fromLatin1(e->resource));
        ++decodes_;
        if (!image.isNull())
            cache_.insert(name, image);
        return image;
    }
    return {};
}

} // namespace qarn
