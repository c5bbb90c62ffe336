#include "tests/common/Screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

QString SaveScreenshot(QWidget* widget, const QString& name)
{
    const QString folder = QStringLiteral(TALVIRE_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    return widget->grab().save(file) ? file : QString();
}
