#include "core/StartUp.h"

#include "platform/ProductName.h"
#include "platform/UserDataFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSharedMemory>
#include <QStandardPaths>

#include <mutex>

QStringList StartUp::SubFolders()
{
    return {
        QStringLiteral("/Log"),
        QStringLiteral("/Device_Info"),
        QStringLiteral("/Exception"),
        QStringLiteral("/usersetting"),
        QStringLiteral("/usersetting/MainPage"),
        QStringLiteral("/usersetting/MacroPage"),
        QStringLiteral("/usersetting/SensorPage"),
    };
}

void StartUp::PrepareUserFolder()
{
    const QString base = UserDataFolder();
    for (const QString& folder : SubFolders()) {
        if (!QDir(base + folder).exists())
            QDir().mkpath(base + folder);
    }

    const QString macroIni = base + QStringLiteral("/Macro.ini");
    if (!QFileInfo::exists(macroIni)) {
        QFile file(macroIni);
        if (file.open(QIODevice::WriteOnly | QIODevice::Text))
            file.close();
    }

    DeleteFilesOlderThanWeek(base + QStringLiteral("/Log"));
    DeleteFilesOlderThanWeek(base + QStringLiteral("/Exception"));
}

void StartUp::DeleteFilesOlderThanWeek(const QString& folder)
{
    // Seconds since 1970 in unsigned 32 bits: a time in the future wraps round
    // to a very large age, so such a file is removed as well.
    const quint32 now = quint32(QDateTime::currentSecsSinceEpoch());
    const QFileInfoList entries = QDir(folder).entryInfoList();
    for (const QFileInfo& entry : entries) {
        if (entry.isDir())
            continue;
        const quint32 modified = quint32(entry.lastModified().toSecsSinceEpoch());
        const quint32 days = quint32(now - modified) / 86400;
        if (days > 7)
            QFile::remove(entry.absoluteFilePath());
    }
}

bool StartUp::ClaimSingleInstance()
{
    // Kept until the process ends; detaching at exit releases the segment.
    // The segment is keyed through a file of the user's runtime folder (not
    // of the shared temporary folder), so only the user's own session meets
    // it; without a usable runtime folder, Qt's per-user fallback serves.
    static QSharedMemory memory;
    if (memory.nativeKey().isEmpty()) {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (folder.isEmpty())
            folder = QDir::tempPath();
        memory.setNativeKey(folder + QLatin1Char('/') + ProductName + QStringLiteral(".instance"));
    }

    // A segment whose owner died without detaching (killed, crashed) still
    // exists with nobody attached; attaching and detaching once removes it,
    // while the segment of a running instance stays, held by that instance.
    if (memory.attach(QSharedMemory::ReadWrite))
        memory.detach();

    if (memory.attach(QSharedMemory::ReadWrite))
        return false;
    // Two instances starting at the same moment may both fail here; the start
    // goes on all the same.
    memory.create(1, QSharedMemory::ReadWrite);
    return true;
}

void StartUp::WriteLogMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    static std::mutex mutex;
    const std::lock_guard<std::mutex> lock(mutex);

    // Only debug messages are written.
    if (type != QtDebugMsg)
        return;

    const QDateTime now = QDateTime::currentDateTime();
    const QString line = QStringLiteral("%1 %2 %3 %4")
                             .arg(QStringLiteral("Debug:"),
                                  QStringLiteral("File:(%1) Line:(%2)")
                                      .arg(QString::fromUtf8(context.file))
                                      .arg(context.line),
                                  message,
                                  QStringLiteral("(%1)").arg(now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))));

    QFile file(UserDataFolder() + QStringLiteral("/Log/") + now.toString(QStringLiteral("yyyy-MM-dd"))
               + QStringLiteral(".txt"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(line.toUtf8() + "\r\n");
    file.flush();
    file.close();
}
