#include "ProductName.h"

const QString ProductName = QStringLiteral("TALVIRE");
