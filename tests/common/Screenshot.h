#pragma once

#include <QString>

class QWidget;

// Renders a widget offscreen into <build>/screenshots/<name>.png for a person to
// look at; returns the file written ("" on failure).
QString SaveScreenshot(QWidget* widget, const QString& name);
