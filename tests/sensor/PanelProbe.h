#pragma once

#include "core/FlashDataMap.h"
#include "devicelib/SimDevice.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

// What the DPI panel tests look at: a panel's child by object name, the
// simulated mouse's write count, and one stage record of an image.
namespace PanelProbe {

template <typename Widget>
Widget* Child(QWidget* panel, const QString& name)
{
    auto* child = panel->findChild<Widget*>(name);
    if (!child)
        qFatal("no child %s", qPrintable(name));
    return child;
}

inline int Writes()
{
    return SimDevice_WriteCount("mouse");
}

inline QByteArray Record(const FlashDataMap& image, int stage)
{
    return QByteArray(reinterpret_cast<const char*>(&image.dpiStages[stage]), sizeof(DpiStage));
}

} // namespace PanelProbe
