#include "tests/platform/TestChild.h"

#include "tests/common/TestEnvironment.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcessEnvironment>

TestChild::TestChild(const QString& tempFolder, const QString& runtimeFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!tempFolder.isEmpty())
        environment.insert(QStringLiteral("TMPDIR"), tempFolder);
    if (!runtimeFolder.isEmpty())
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    process_.setProcessEnvironment(environment);
    process_.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/talvire_test_child"));
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

TestChild::~TestChild()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

void TestChild::Start(const QStringList& arguments)
{
    output_.clear();
    process_.setArguments(arguments);
    process_.start();
}

void TestChild::ReadOutput()
{
    output_ += QString::fromUtf8(process_.readAllStandardOutput());
}

bool TestChild::WaitForLine(const QString& text, int timeoutMs)
{
    const QDeadlineTimer deadline(TestLimit(timeoutMs));
    ReadOutput();
    while (!output_.contains(text)) {
        if (process_.state() == QProcess::NotRunning || deadline.hasExpired())
            return false;
        process_.waitForReadyRead(50);
        ReadOutput();
    }
    return true;
}

bool TestChild::WaitForEnd(int timeoutMs)
{
    const bool ended = process_.state() == QProcess::NotRunning || process_.waitForFinished(TestLimit(timeoutMs));
    ReadOutput();
    return ended;
}

void TestChild::Kill()
{
    process_.kill();
    process_.waitForFinished(10000);
    ReadOutput();
}
