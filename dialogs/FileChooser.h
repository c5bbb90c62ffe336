#pragma once

#include <QString>

class QWidget;

// The program's one way to ask the user for a file to open or to save. Each
// use (a kind of file) remembers the folder of the file last chosen for it,
// also between runs; until one was chosen, and when that folder is gone, the
// dialog starts in the user's home folder. The save dialog adds the filter's
// extension to a name typed without one and asks before it replaces a file.
// Tests give the next answer with SetNextAnswer instead of a dialog. GUI thread.
class FileChooser {
public:
    enum class Use {
        Configuration,   // exported device configurations ("File(*.bin)")
        Macro,           // exported macros ("File(*.ini)")
    };

    // The chosen file's path; "" when the user cancels.
    static QString OpenFile(QWidget* parent, Use use, const QString& caption, const QString& filter);
    static QString SaveFile(QWidget* parent, Use use, const QString& caption, const QString& filter);

    // The folder the next dialog of the use starts in.
    static QString StartFolder(Use use);

    // For tests: the next OpenFile or SaveFile shows no dialog and returns
    // path ("" answers as a cancel), remembering its folder as a chosen file
    // does.
    static void SetNextAnswer(const QString& path);

    // What the last OpenFile or SaveFile asked for.
    struct Request {
        bool save = false;
        QString caption;
        QString folder;
        QString filter;
    };
    static Request LastRequest();
};
