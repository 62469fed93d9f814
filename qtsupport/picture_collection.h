#pragma once

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace qarn {

// Pictures compiled into a program as Qt resources, served by name. A name is
// compared exactly, letter case included; each picture is decoded on its first
// request and served from the cache afterwards. An unknown, empty or null name
// gives a null image (an empty pixmap), and nothing else can fail. The
// collection owns its cache; callers get shared copies.
class PictureCollection {
public:
    struct Entry {
        const char* name;     // lookup key, UTF-8
        const char* resource; // where the compiled-in picture lives
    };

    // `table` ends with an entry whose name is null; it must outlive the collection.
    explicit PictureCollection(const Entry* table) : table_(table) {}

    QImage data(const QString& name) const;
    // The same picture as a pixmap (needs a GUI application).
    QPixmap pixmap(const QString& name) const { return QPixmap::fromImage(data(name)); }

    // How many pictures have been decoded so far (each at most once).
    int decodeCount() const { return decodes_; }

    const Entry* table() const { return table_; }

private:
    const Entry* table_;
    mutable QHash<QString, QImage> cache_;
    mutable int decodes_ = 0;
};

} // namespace qarn
