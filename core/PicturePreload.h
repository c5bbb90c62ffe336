#pragma once

#include <QString>
#include <QStringList>

// Pictures decoded ahead, on a thread of their own, while the program starts.
// The style sheets load their pictures through QPixmap::load, which looks in
// the pixmap cache first, under a key made of the file's path, modification
// time and size; HandOver() puts the decoded pictures there under that key,
// so the first window finds its pictures decoded (and Qt's image plugins are
// not needed for them). Where that lookup does not find them (a Qt that keys
// its cache otherwise), HandOver() takes them out again and leaves the
// decoding to Qt, as without a preload.
class PicturePreload {
public:
    // Starts decoding the PNG files, in order, and loads Qt's image plugins
    // on the way (an icon of a style sheet would load them on the GUI thread
    // as it first paints). Needs the application object; a start while one
    // is pending does nothing.
    static void Start(const QStringList& files);
    // On the GUI thread: waits for the decoding and puts the pictures into
    // the pixmap cache. Does nothing without a pending start.
    static void HandOver();
    // The key under which QPixmap::load looks for a picture file.
    static QString CacheKey(const QString& file);
};
