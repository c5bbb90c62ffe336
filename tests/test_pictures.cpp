// The pictures beside the program as the windows' style sheets load them
// (through QPixmap and the application's pixmap cache): each is decoded once,
// however often a window or dialog that shows it is made again.
#include "core/StyleSheet.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QDirIterator>
#include <QHash>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
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
};

TALVIRE_TEST_MAIN(PicturesTest)
#include "test_pictures.moc"
