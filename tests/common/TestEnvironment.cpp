#include "tests/common/TestEnvironment.h"

#include <QDir>
#include <QMetaMethod>

namespace {
void SetFolder(const char* variable, const QString& path)
{
    QDir().mkpath(path);
    qputenv(variable, QFile::encodeName(path));
}
} // namespace

TestEnvironment::TestEnvironment()
    : dir_(QDir::tempPath() + QStringLiteral("/talvire-test-XXXXXX"))
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The simulated link moves reports and the devices answer without taking
    // time, unless a test (or the caller) asks for it.
    for (const char* variable : {"TALVIRE_LINK_REPORT_MS", "TALVIRE_LINK_ANSWER_MS"}) {
        if (qEnvironmentVariableIsEmpty(variable))
            qputenv(variable, "0");
    }
    const QString base = dir_.path();
    SetFolder("HOME", base + QStringLiteral("/home"));
    SetFolder("XDG_DATA_HOME", base + QStringLiteral("/home/.local/share"));
    SetFolder("XDG_CONFIG_HOME", base + QStringLiteral("/home/.config"));
    SetFolder("XDG_CACHE_HOME", base + QStringLiteral("/home/.cache"));
    SetFolder("XDG_RUNTIME_DIR", base + QStringLiteral("/runtime"));
    QFile::setPermissions(base + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TestEnvironment::~TestEnvironment() = default;

QString TestEnvironment::home() const
{
    return dir_.path() + QStringLiteral("/home");
}

QStringList TestPartArguments(const QObject& test, const QStringList& arguments)
{
    const QByteArray part = qgetenv("TALVIRE_TEST_PART");
    if (part.isEmpty() || arguments.size() > 1)
        return arguments;
    const QList<QByteArray> numbers = part.split('/');
    bool okIndex = false;
    bool okCount = false;
    const int index = numbers.size() == 2 ? numbers.at(0).toInt(&okIndex) : 0;
    const int count = numbers.size() == 2 ? numbers.at(1).toInt(&okCount) : 0;
    if (!okIndex || !okCount || count < 1 || index < 1 || index > count)
        qFatal("TALVIRE_TEST_PART=%s: not k/n with 1 <= k <= n", part.constData());

    // The test functions as QtTest finds them: private slots without
    // arguments, other than the fixtures and the data functions.
    static const QStringList fixtures = {QStringLiteral("initTestCase"), QStringLiteral("cleanupTestCase"),
                                         QStringLiteral("init"), QStringLiteral("cleanup")};
    QStringList functions;
    const QMetaObject* meta = test.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const QString name = QString::fromLatin1(method.name());
        if (method.methodType() != QMetaMethod::Slot || method.access() != QMetaMethod::Private
            || method.parameterCount() != 0 || fixtures.contains(name)
            || name.endsWith(QLatin1String("_data")))
            continue;
        functions << name;
    }
    // Run k takes functions [size * (k - 1) / n, size * k / n).
    const int begin = int(qint64(functions.size()) * (index - 1) / count);
    const int end = int(qint64(functions.size()) * index / count);
    if (begin == end)
        qFatal("TALVIRE_TEST_PART=%s: more parts than the %d test functions", part.constData(),
               int(functions.size()));
    return arguments + functions.mid(begin, end - begin);
}

int RunTestPart(QObject& test, int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return QTest::qExec(&test, TestPartArguments(test, arguments));
}
