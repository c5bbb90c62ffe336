#pragma once

#include "core/SharedState.h"
#include "devicelib/SimDevice.h"
#include "shell/DialogChange.h"
#include "tests/common/TestEnvironment.h"

#include <QLabel>
#include <QString>
#include <QtTest>

#include <memory>

// A file of devicelib/scenarios (the test target defines TALVIRE_SCENARIO_DIR).
inline QString Scenario(const char* name)
{
    return QStringLiteral(TALVIRE_SCENARIO_DIR "/") + QLatin1String(name);
}

// The simulated devices of a scenario: "" the default one, a JSON text or a file.
inline bool LoadScenario(const QString& scenario)
{
    if (scenario.startsWith(QLatin1Char('{')))
        return SimDevice_LoadScenario(scenario.toUtf8().constData()) != 0;
    if (scenario.isEmpty())
        return SimDevice_Reset() != 0;
    return SimDevice_LoadScenarioFile(scenario.toLocal8Bit().constData()) != 0;
}

// A shown chooser over the devices of a scenario, once the library's first
// notice has been handled: it hides the click hint when nothing is listed and
// builds buttons otherwise.
inline bool OpenChooser(std::unique_ptr<DialogChange>& chooser, const QString& scenario)
{
    chooser.reset();
    if (!LoadScenario(scenario))
        return false;
    ShownDevices.clear();
    IdentifiedDevices.clear();
    chooser = std::make_unique<DialogChange>();
    chooser->show();
    QLabel* hint = chooser->findChild<QLabel*>(QStringLiteral("label_3"));
    return QTest::qWaitFor([hint] { return !DialogChange::DeviceButtons.isEmpty() || hint->isHidden(); }, TestLimit(5000));
}
