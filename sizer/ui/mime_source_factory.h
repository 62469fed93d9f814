#pragma once

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>

// QarnSizer's built-in pictures, served by name. The pictures are compiled in
// as Qt resources; a name is looked up by exact, case-sensitive comparison,
// decoded on its first request and kept for later ones. An unknown or empty
// name gives a null image (the icon or button that asked stays empty); nothing
// fails otherwise. The factory owns its cache.
class MimeSourceFactory_QarnSizer {
public:
    MimeSourceFactory_QarnSizer();

    // The program's one factory, made on first use.
    static MimeSourceFactory_QarnSizer& defaultFactory();

    QImage data(const QString& name) const;
    QPixmap pixmap(const QString& name) const { return QPixmap::fromImage(data(name)); }

    // How many pictures have been decoded so far (each at most once).
    int decodeCount() const { return decodeCount_; }

private:
    mutable QHash<QString, QImage> cache_;
    mutable int decodeCount_ = 0;
};
