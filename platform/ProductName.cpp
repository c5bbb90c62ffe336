#include "platform/ProductName.h"

const QString ProductName = QStringLiteral("TALVIRE");
