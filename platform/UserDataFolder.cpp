#include "platform/UserDataFolder.h"

#include "platform/ProductName.h"

#include <QStandardPaths>

QString UserDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QLatin1Char('/') + ProductName;
}
