#pragma once

#include "core/MacroFile.h"

#include <QByteArray>
#include <QIcon>
#include <QString>
#include <QVector>

// A single macro exported to a file of the user's choice, to be imported on
// the same or another computer. A QDataStream of version 17, big-endian:
//     12-byte block   "Zelvo", NUL-filled
//     48-byte block   the name in UTF-8 (its first 48 bytes), NUL-filled
//     12-byte block   the repeat code as decimal text, NUL-filled
//     qint32          the row count n
//     n rows          the row's text (QString), its icon (QIcon, its pictures
//                     without the names of files they came from) and, for a
//                     key row, the NUL-ended marker "0" (press) or "1" (release)
//     block           "Code", then kind (1 byte) and code (2 bytes) of each
//                     key row in order
// (each block: its 32-bit length, then its bytes). The last block carries
// each key row by its code, so a mouse click, whose text is a name of the
// exporting language, is the same button in any language; a reader that stops
// after the rows does not see it, and files without it are read by the rows'
// names.
//
// A file from outside is parsed into values, never copied: a file is taken
// only when every part is one the program itself writes, and the icons are
// passed over without decoding a picture or opening a path they name.
class MacroExportFile {
public:
    struct Row {
        QString text;        // as the page shows it
        QIcon icon;
        MacroFile::Line line; // what the row is: a delay, or a key's code, kind and press / release
    };

    // The bytes of the export of a macro.
    static QByteArray Format(const QString& name, int repeatCode, const QVector<Row>& rows);

    struct Macro {
        QString name;                  // cut to what a mouse button keeps (30 bytes)
        int repeatCode = 1;            // 1-250, 253, 254 or 255
        QVector<MacroFile::Line> lines; // key and delay rows in any order: delays "0ms" to "1048575ms", known codes
    };
    // Reads an export; false when the bytes are anything else: another or a
    // damaged file, a repeat code the page cannot show, a name that cannot
    // name a macro, a row that is not a known key or a delay of 0 to
    // 1,048,575 ms, more than 70 key rows, or bytes after the end.
    static bool Parse(const QByteArray& bytes, Macro* macro);

    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;
};
