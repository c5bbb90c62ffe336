#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The one way the program replaces a file that holds user data (cache files,
// exports, the settings files, macro files). The content goes whole into a new
// file in the same folder, which is flushed, checked for every byte (the
// writes, the size on disk, the sync to the disk) and only then renamed over
// the old file. On any failure the new file is removed, the old file stays as
// it was byte for byte, the failure is logged with the file and the reason,
// and false is returned (with the reason in *error when given).
//
// The folder must exist. New files and copies left by a writer that was
// killed (".<name>.<pid>-<n>.tmp" of a process that no longer runs) are
// removed by the next write of the same file. Safe to call from any thread;
// writes of the same file in this process are made one after the other.
bool ReplaceFile(const QString& path, const QByteArray& content, QString* error = nullptr);

// Whether ReplaceFile can write a file of this name (no folder): the name and
// the name of its new copy, with the longest process number and count, both
// fit the file system's limit for one name.
bool ReplaceFileNameFits(const QString& fileName);

// The same, with a check of the new file after it is complete and before it
// takes the old file's place (for example, that it reads back as meant). A
// check that fails, with its reason in *reason, fails the write.
using ReplaceCheck = std::function<bool(const QString& newFile, QString* reason)>;
bool ReplaceFile(const QString& path, const QByteArray& content, const ReplaceCheck& check,
                 QString* error = nullptr);
