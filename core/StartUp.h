#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

class QMessageLogContext;

// The start of the program: the per-user folder, the clean-up of old logs and
// crash reports, and the single instance. The program's main makes the
// application object between PrepareUserFolder and ClaimSingleInstance.
class StartUp {
public:
    // The sub-folders of the per-user folder, in the order they are made.
    static QStringList SubFolders();
    // Makes the missing sub-folders and an empty "Macro.ini" when there is
    // none, then deletes week-old files in "/Log" and "/Exception". Failures
    // are ignored: the start goes on.
    static void PrepareUserFolder();
    // Deletes the files of folder (not its sub-folders) whose whole-day age is
    // more than 7; a modification time in the future counts as very old.
    static void DeleteFilesOlderThanWeek(const QString& folder);

    // Claims the single-instance segment, keyed through the file
    // "<product name>.instance" of the user's runtime folder
    // ($XDG_RUNTIME_DIR); false when
    // another instance holds it (the caller then shows the running-instance
    // notice and ends with 0). A segment left behind by an instance that died
    // without detaching is released first. Needs the application object.
    static bool ClaimSingleInstance();

    // A message handler that appends debug messages to
    // "/Log/yyyy-MM-dd.txt" of the per-user folder. The program does not
    // install it.
    static void WriteLogMessage(QtMsgType type, const QMessageLogContext& context, const QString& message);
};
