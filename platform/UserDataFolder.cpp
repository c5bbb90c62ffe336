#include "UserDataFolder.h"

#include "ProductName.h"

#include <QStandardPaths>

QString UserDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QLatin1Char('/') + ProductName;
}
