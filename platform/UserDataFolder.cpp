#include "UserDataFolder.h"

#include <QStandardPaths>

QString UserDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/TALVIRE");
}
