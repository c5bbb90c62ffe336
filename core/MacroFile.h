#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The user's macros: one small text file per macro in the per-user folder
// "usersetting/MacroPage", named after the macro with ".ini". The macro page
// and the button page read and write them only through this class.
//
// Format (UTF-8, every line ended by a line feed):
//     254              line 1: the repeat code (254, 255, 253 or a count 1-250)
//     0x04 1 0         a key row: code, kind (1 key, 0 modifier, 4 mouse), 0 press / 1 release
//     10ms             a delay row: its text
// A new macro's file is empty. Every write replaces the file whole
// (ReplaceFile): a failed write leaves the old file as it was.
class MacroFile {
public:
    // One row of a macro as its file holds it.
    struct Line {
        bool delay = false;
        QString text;        // delay rows: the row's text ("10ms")
        QString code;        // key rows: "0x" and two upper-case hex digits
        int kind = 1;        // key rows: 1 key, 0 modifier, 4 mouse button
        bool release = false;
    };

    struct Content {
        bool hasHeader = false;   // the file has a line 1
        QString header;           // line 1 without its line end
        QVector<Line> lines;      // the rows after line 1
    };

    // The per-user macro folder, and the file of a macro in it.
    static QString Folder();
    static QString PathOf(const QString& name);
    static QString PathOf(const QString& folder, const QString& name);

    // The macros of a folder, ordered by name without regard to case: one
    // name per regular file (no folders, no links) whose name ends in ".ini",
    // the name being the file name without that ending. Only names the
    // program accepts (NameAllowed) are listed, so that every listed name
    // maps back to its own file: "a.ini.ini" is the macro "a.ini", and
    // "c.txt" or "A.INI" are no macros.
    static QStringList List(const QString& folder);

    // Whether a name can be a macro's name: not empty, no "/", "\", NUL or
    // other control characters, not "." or "..", no "xml" (such files are
    // never listed), the same after a round through the mouse's bytes
    // (ButtonRecords::NameBytes), and its file name and the name of the copy
    // that replaces the file (ReplaceFile) within the file system's limit.
    static bool NameAllowed(const QString& name);

    // Reads a macro file; false when it does not exist, cannot be read or is
    // larger than a macro file can sensibly be (1 MiB).
    static bool Read(const QString& path, Content* content);
    // The repeat mode of a header: 254, 255, 253 or a count 1-250; any other
    // value, or a text that is not a number, gives 1 (count 1).
    static int RepeatCodeOf(const QString& header);
    // The first field of line 1; "0" when the file or the line is missing.
    static QString ReadHeaderValue(const QString& path);

    // The text of a macro file with line 1 and the rows.
    static QByteArray Format(const QString& header, const QVector<Line>& lines);
    // The event lines alone.
    static QByteArray FormatLines(const QVector<Line>& lines);

    // Replaces the file with line 1 and the rows (creating it when missing).
    static bool Write(const QString& path, const QString& header, const QVector<Line>& lines,
                      QString* error = nullptr);
    // Replaces the file with line 1 alone.
    static bool WriteHeader(const QString& path, const QString& header, QString* error = nullptr);
    // Creates the file, or empties it.
    static bool CreateEmpty(const QString& path, QString* error = nullptr);
    // Adds the rows after the file's content, which stays whole (a last line
    // without its line end gets one first). A missing file is left missing
    // (false).
    static bool Append(const QString& path, const QVector<Line>& lines, QString* error = nullptr);

    static constexpr qint64 MaxFileSize = 1024 * 1024;
};
