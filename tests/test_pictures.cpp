// The pictures beside the program as the windows' style sheets load them
// (through QPixmap and the application's pixmap cache): each is decoded once,
// however often a window or dialog that shows it is made again, and those
// decoded ahead while the program starts are the ones the windows get.
#include "core/PicturePreload.h"
#include "core/StyleSheet.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QDirIterator>
#include <QHash>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>

#include <dlfcn.h>

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    // First of all, while no picture has been read in this process: the
    // preload leaves Qt's image plugins loaded, so that an icon of a style
    // sheet, which asks each of them about its file, does not load them on
    // the GUI thread as the window first paints.
    void preloadLoadsTheImagePlugins()
    {
        const QDir folder(QLibraryInfo::location(QLibraryInfo::PluginsPath) + QStringLiteral("/imageformats"));
        const QStringList plugins = folder.entryList({QStringLiteral("*.so")}, QDir::Files);
        if (plugins.isEmpty())
            QSKIP("no image plugins installed");
        const auto loaded = [&folder](const QString& plugin) {
            void* handle = dlopen(QFile::encodeName(folder.filePath(plugin)).constData(), RTLD_LAZY | RTLD_NOLOAD);
            if (handle)
                dlclose(handle);
            return handle != nullptr;
        };
        for (const QString& plugin : plugins)
            QVERIFY2(!loaded(plugin), qPrintable(plugin));
        const QString pictures = QCoreApplication::applicationDirPath() + QStringLiteral("/Picture/DialogChange/");
        PicturePreload::Start({pictures + QStringLiteral("MainBack.png"), pictures + QStringLiteral("Menu.png")});
        PicturePreload::HandOver();
        for (const QString& plugin : plugins)
            QVERIFY2(loaded(plugin), qPrintable(plugin));
    }

    void eachPictureIsDecodedOnce()
    {
        StyleSheet::KeepPicturesDecoded();
        QStringList files;
        QDirIterator it(QCoreApplication::applicationDirPath() + QStringLiteral("/Picture"), {QStringLiteral("*.png")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        QVERIFY(files.size() > 50);

        // Every folder fits in the cache, decoded.
        qint64 decoded = 0;
        for (const QString& file : qAsConst(files)) {
            const QSize size = QImageReader(file).size();
            decoded += qint64(size.width()) * size.height() * 4;
        }
        QVERIFY2(decoded <= qint64(QPixmapCache::cacheLimit()) * 1024,
                 qPrintable(QStringLiteral("%1 kB of pictures, a cache of %2 kB")
                                .arg(decoded / 1024)
                                .arg(QPixmapCache::cacheLimit())));

        // All of them loaded, then all again: the second round gets the
        // pixmaps of the first, not new decodes.
        QHash<QString, qint64> first;
        for (const QString& file : qAsConst(files)) {
            const QPixmap pixmap(file);
            QVERIFY2(!pixmap.isNull(), qPrintable(file));
            first.insert(file, pixmap.cacheKey());
        }
        for (const QString& file : qAsConst(files))
            QVERIFY2(QPixmap(file).cacheKey() == first.value(file), qPrintable(file));
    }

    // Pictures decoded ahead on other threads are the ones QPixmap::load
    // then gives (the style sheets' way to their pictures), the same pixels
    // as its own decoding, without a decoding of its own.
    void picturesDecodedAhead()
    {
        StyleSheet::KeepPicturesDecoded();
        QPixmapCache::clear();
        const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/Picture/DialogChange/");
        // Opaque, with transparency, and a file that is not there.
        const QStringList files{folder + QStringLiteral("MainBack.png"), folder + QStringLiteral("OnLine0.png"),
                                folder + QStringLiteral("Close.png"), folder + QStringLiteral("None.png")};
        PicturePreload::HandOver();   // nothing started: nothing happens
        PicturePreload::Start(files);
        PicturePreload::Start({folder + QStringLiteral("Min.png")});   // one at a time
        PicturePreload::HandOver();
        QPixmap cached;
        QVERIFY(!QPixmapCache::find(PicturePreload::CacheKey(folder + QStringLiteral("Min.png")), &cached));
        QVERIFY(!QPixmapCache::find(PicturePreload::CacheKey(files.last()), &cached));
        for (const QString& file : files.mid(0, 3)) {
            QPixmap ahead;
            QVERIFY2(QPixmapCache::find(PicturePreload::CacheKey(file), &ahead), qPrintable(file));
            const QPixmap loaded(file);
            QCOMPARE(loaded.cacheKey(), ahead.cacheKey());
            // Qt's own decoding, past the cache.
            const QImage own = QPixmap::fromImage(QImage(file)).toImage();
            QCOMPARE(loaded.toImage().format(), own.format());
            QVERIFY2(loaded.toImage() == own, qPrintable(file));
        }
    }
};

TALVIRE_TEST_MAIN(PicturesTest)
#include "test_pictures.moc"
