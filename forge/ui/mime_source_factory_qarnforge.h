#pragma once

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>

// The builder's built-in pictures, served by name ("fileopen", "filesave",
// "smallico.bmp", "QarnTD_final.bmp"). Names are compared exactly, letter case
// included. Each picture is decoded from the program's resources on its first
// request and served from a cache afterwards.
// Errors: an unknown or null name gives a null image (an empty pixmap); nothing
// is reported. The collection owns the cached images; callers get copies.
class MimeSourceFactory_QarnForge {
public:
    struct Entry {
        const char* name;     // lookup key, UTF-8
        const char* resource; // where the compressed pixels live
        int width;
        int height;
        bool alpha;           // whether the picture keeps its transparency
    };

    // The one collection of the process, created on first use.
    static MimeSourceFactory_QarnForge& instance();

    // The picture of that name, or a null image.
    QImage data(const QString& name);

    // Shortcut for the windows: the picture as a pixmap (needs a GUI application).
    static QPixmap pixmap(const QString& name);

    // How many pictures have been decoded so far (each at most once).
    int decodeCount() const { return decodes_; }

    // The table of built-in pictures, ended by an entry with a null name.
    static const Entry* table();

private:
    MimeSourceFactory_QarnForge();

    QHash<QString, QImage> cache_;
    int decodes_ = 0;
};
