// The platform layer: the registry file, the autostart entry and the launcher
// of the desktop's mouse settings.
#include "platform/AutoStart.h"
#include "platform/MouseSettingsLauncher.h"
#include "platform/Registry.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

namespace {
QString ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A stand-in for a desktop's settings program that notes how it was started.
void MakeProgram(const QString& folder, const QString& name, const QString& marker)
{
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("#!/bin/sh\necho \"%1 $*\" > '%2'\n").arg(name, marker).toUtf8());
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}
} // namespace

class PlatformLayerTest : public QObject {
    Q_OBJECT

private:
    QByteArray path_;
    QByteArray desktop_;

private slots:
    void initTestCase()
    {
        path_ = qgetenv("PATH");
        desktop_ = qgetenv("XDG_CURRENT_DESKTOP");
    }

    void cleanup()
    {
        qputenv("PATH", path_);
        qputenv("XDG_CURRENT_DESKTOP", desktop_);
        Registry::Instance()->RemoveKey(QStringLiteral("Mouse Drive Test"));
        Registry::Instance()->RemoveKey(QStringLiteral("TALVIRE"));
        AutoStart::Disable();
    }

    void registryLivesInTheUsersConfiguration()
    {
        const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QVERIFY(config.startsWith(QDir::tempPath()));
        QCOMPARE(Registry::Instance()->FileName(), config + QStringLiteral("/TALVIRE/TALVIRE.ini"));
        QCOMPARE(Registry::LanguageIndexKey(), QStringLiteral("TALVIRE/TALVIRE/TALVIRE/LanguageIndex"));
        QCOMPARE(Registry::UpdateFailInfoKey(), QStringLiteral("Mouse Drive Test/UpdateFailInfo"));
        QCOMPARE(Registry::MouseVerKey(QStringLiteral("10"), QStringLiteral("1")),
                 QStringLiteral("Mouse Drive Test/MouseVer101"));
    }

    void registryValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("language index") << Registry::LanguageIndexKey() << QVariant(3) << "3" << 3;
        QTest::newRow("failed update record, commas kept")
            << Registry::UpdateFailInfoKey() << QVariant(QStringLiteral("210,1,10,1")) << "210,1,10,1" << 0;
        QTest::newRow("mouse version") << Registry::MouseVerKey("10", "1") << QVariant(QStringLiteral("v1.5"))
                                       << "v1.5" << 0;
        QTest::newRow("Chinese text") << QStringLiteral("Mouse Drive Test/名字") << QVariant(QStringLiteral("鼠标"))
                                      << QStringLiteral("鼠标") << 0;
        QTest::newRow("empty text") << Registry::UpdateFailInfoKey() << QVariant(QString()) << "" << 0;
    }

    void registryValues()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QFETCH(int, number);
        Registry* registry = Registry::Instance();
        QCOMPARE(registry->GetValue(key), QString());
        QCOMPARE(registry->GetInt(key), 0);
        QVERIFY(!registry->Contains(key));

        QVERIFY(registry->SetValue(key, value));
        QVERIFY(registry->Contains(key));
        QCOMPARE(registry->GetValue(key), text);
        QCOMPARE(registry->GetInt(key), number);
        // At once: a second registry object sees it.
        Registry other;
        QCOMPARE(other.GetValue(key), text);

        QVERIFY(registry->RemoveKey(key));
        QVERIFY(!registry->Contains(key));
        QCOMPARE(other.GetValue(key), QString());
        QVERIFY(registry->RemoveKey(key));
    }

    // Changes made by another program (another instance, a hand edit) are seen
    // at the next read; a record edited without quotes is still one text.
    void registryReadsTheFileAsItIsNow()
    {
        Registry* registry = Registry::Instance();
        QVERIFY(registry->SetValue(Registry::MouseVerKey("10", "1"), QStringLiteral("v1.5")));
        QVERIFY(registry->Flush());
        QFile file(registry->FileName());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Mouse%20Drive%20Test]\nUpdateFailInfo=211,2,10,1\n");
        file.close();
        QCOMPARE(registry->GetValue(Registry::UpdateFailInfoKey()), QStringLiteral("211,2,10,1"));
        QVERIFY(!registry->Contains(Registry::MouseVerKey("10", "1")));
    }

    // The device library's threads record versions while the GUI thread reads
    // and removes the failed-update record: no write is lost.
    void registryFromSeveralThreads()
    {
        Registry* registry = Registry::Instance();
        const int threads = 6;
        const int rounds = 40;
        std::atomic<int> failures {0};
        std::vector<std::thread> writers;
        for (int t = 0; t < threads; ++t) {
            writers.emplace_back([=, &failures] {
                const QString key = Registry::MouseVerKey(QStringLiteral("10"), QString::number(t));
                for (int i = 0; i < rounds; ++i) {
                    const QString version = QStringLiteral("v%1.%2").arg(t).arg(i);
                    if (!registry->SetValue(key, version) || registry->GetValue(key) != version)
                        ++failures;
                }
            });
        }
        for (int i = 0; i < rounds; ++i) {
            registry->SetValue(Registry::UpdateFailInfoKey(), QStringLiteral("210,1,10,%1").arg(i));
            if (registry->GetValue(Registry::UpdateFailInfoKey()).isEmpty())
                ++failures;
            registry->RemoveKey(Registry::UpdateFailInfoKey());
        }
        for (std::thread& writer : writers)
            writer.join();
        QCOMPARE(failures.load(), 0);
        Registry fresh;
        for (int t = 0; t < threads; ++t)
            QCOMPARE(fresh.GetValue(Registry::MouseVerKey(QStringLiteral("10"), QString::number(t))),
                     QStringLiteral("v%1.%2").arg(t).arg(rounds - 1));
        QVERIFY(!fresh.Contains(Registry::UpdateFailInfoKey()));
    }

    void autostartEntryComesAndGoes()
    {
        const QString entry = AutoStart::EntryPath();
        QCOMPARE(entry, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                            + QStringLiteral("/autostart/TALVIRE.desktop"));
        QVERIFY(entry.startsWith(QDir::tempPath()));
        QVERIFY(!AutoStart::IsEnabled());

        QVERIFY(AutoStart::SetEnabled(true));
        QVERIFY(AutoStart::IsEnabled());
        const QString content = ReadAll(entry);
        QVERIFY2(content.startsWith(QStringLiteral("[Desktop Entry]\n")), qPrintable(content));
        QVERIFY2(content.contains(QStringLiteral("\nType=Application\n")), qPrintable(content));
        QVERIFY2(content.contains(QStringLiteral("\nExec=") + QCoreApplication::applicationFilePath() + '\n'),
                 qPrintable(content));

        QVERIFY(AutoStart::SetEnabled(false));
        QVERIFY(!QFileInfo::exists(entry));
        QVERIFY(!AutoStart::IsEnabled());
        // Switching off what is already off succeeds.
        QVERIFY(AutoStart::SetEnabled(false));
    }

    void autostartSwitchedOffByTheDesktop_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("hidden") << "Hidden=true" << false;
        QTest::newRow("switched off") << "X-GNOME-Autostart-enabled=false" << false;
        QTest::newRow("other keys") << "Comment=Hidden=true" << true;
    }

    void autostartSwitchedOffByTheDesktop()
    {
        QFETCH(QString, line);
        QFETCH(bool, enabled);
        QVERIFY(AutoStart::Enable(QStringLiteral("/opt/talvire/talvire-control")));
        QFile file(AutoStart::EntryPath());
        QVERIFY(file.open(QIODevice::Append));
        file.write(line.toUtf8() + '\n');
        file.close();
        QCOMPARE(AutoStart::IsEnabled(), enabled);
    }

    void autostartProgramPath_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/opt/talvire/talvire-control" << "/opt/talvire/talvire-control";
        QTest::newRow("space") << "/home/a b/talvire-control" << "\"/home/a b/talvire-control\"";
        QTest::newRow("percent") << "/tmp/100%/x" << "/tmp/100%%/x";
        QTest::newRow("quote, dollar, backslash")
            << "/tmp/\"q\"$\\/x" << "\"/tmp/\\\\\"q\\\\\"\\\\$\\\\\\\\/x\"";
        QTest::newRow("Chinese folder") << QStringLiteral("/home/用户/talvire-control")
                                        << QStringLiteral("/home/用户/talvire-control");
    }

    void autostartProgramPath()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QCOMPARE(AutoStart::ExecArgument(program), exec);
        QVERIFY(AutoStart::Enable(program));
        QVERIFY(ReadAll(AutoStart::EntryPath()).contains(QStringLiteral("\nExec=") + exec + '\n'));
    }

    void mouseSettingsOfTheRunningDesktop_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("started");
        QTest::newRow("XFCE") << "XFCE" << "xfce4-mouse-settings ";
        QTest::newRow("GNOME on Ubuntu") << "ubuntu:GNOME" << "gnome-control-center mouse";
        QTest::newRow("unknown desktop: first known") << "" << "gnome-control-center mouse";
    }

    void mouseSettingsOfTheRunningDesktop()
    {
        QFETCH(QString, desktop);
        QFETCH(QString, started);
        QTemporaryDir bin;
        const QString marker = bin.filePath(QStringLiteral("started"));
        MakeProgram(bin.path(), QStringLiteral("xfce4-mouse-settings"), marker);
        MakeProgram(bin.path(), QStringLiteral("gnome-control-center"), marker);
        qputenv("PATH", QFile::encodeName(bin.path()));
        qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());

        QVERIFY(MouseSettingsLauncher::Start());
        TRY_VERIFY(QFileInfo::exists(marker));
        TRY_COMPARE(ReadAll(marker).trimmed(), started.trimmed());
    }

    void noMouseSettingsInstalled()
    {
        QTemporaryDir bin;
        qputenv("PATH", QFile::encodeName(bin.path()));
        QVERIFY(!MouseSettingsLauncher::Start());
    }

    void launchReplacedByTests()
    {
        int calls = 0;
        MouseSettingsLauncher::SetLaunch([&calls] {
            ++calls;
            return true;
        });
        QVERIFY(MouseSettingsLauncher::Start());
        QCOMPARE(calls, 1);
        MouseSettingsLauncher::SetLaunch({});
        QTemporaryDir bin;
        qputenv("PATH", QFile::encodeName(bin.path()));
        QVERIFY(!MouseSettingsLauncher::Start());
        QCOMPARE(calls, 1);
    }
};

TALVIRE_TEST_MAIN(PlatformLayerTest)
#include "test_platform_layer.moc"
