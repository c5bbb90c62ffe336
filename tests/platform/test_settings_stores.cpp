// The product description store (Config.ini) and the per-user settings store
// (Macro.ini): identity keys, missing keys, UTF-8, atomic writes, threads,
// damaged files, and what Flush promises.
#include "core/ConfigIni.h"
#include "core/MacroIni.h"
#include "platform/IniFile.h"
#include "platform/IniText.h"
#include "platform/Registry.h"
#include "platform/SettingsWriter.h"
#include "tests/common/TestEnvironment.h"
#include "tests/platform/TestChild.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <atomic>
#include <memory>
#include <chrono>
#include <csignal>
#include <thread>
#include <vector>

#include <sys/resource.h>

namespace {
bool PutFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// While it lives, no file of the process grows beyond the limit: a write past
// it fails (EFBIG) as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_ {};
};

QByteArray Base64(const QString& text)
{
    return text.toUtf8().toBase64();
}

// A product description in the stored form: identity keys Base64 encoded (the
// CID with the line break an editor leaves), everything else as it is.
QByteArray SampleConfig()
{
    QByteArray pids;
    for (const char* pid : {"5201", "5202", "5203", "5204", "5205"})
        pids += (pids.isEmpty() ? "" : ", ") + Base64(QLatin1String(pid));
    return "[Option]\n"
           "DeviceTotal=2\n"
           "CID=" + Base64(QStringLiteral("10\n")) + "\n"
           "VID=" + Base64(QStringLiteral("3A17")) + "\n"
           "USB_PID=" + pids + "\n"
           "LabelColor=255, 128, 0\n"
           "[Drive1]\n"
           "MID=1\n"
           "Sensor=" + Base64(QStringLiteral("3395")) + "\n"
           "MM=" + Base64(QStringLiteral("TVM 1-Mouse\n")) + "\n"
           "DM=" + Base64(QStringLiteral("无线鼠标")) + "\n"
           "MMX=" + Base64(QStringLiteral("3395")) + "\n"
           "DPIGrade=" + Base64(QStringLiteral("400")) + ", " + Base64(QStringLiteral("800")) + "\n"
           "Name=" + QStringLiteral("鼠标 一").toUtf8() + "\n";
}
} // namespace

class SettingsStoresTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString configPath_;

    QString NewPath(const QString& name) const { return dir_.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        configPath_ = dir_.filePath(QStringLiteral("Config.ini"));
        QFile file(configPath_);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(SampleConfig());
    }

    void configValue_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("identity key, line break dropped") << "Option" << "CID" << "10";
        QTest::newRow("identity key") << "Option" << "VID" << "3A17";
        QTest::newRow("identity key in a model group") << "Drive1" << "Sensor" << "3395";
        QTest::newRow("identity key, spaces dropped") << "Drive1" << "MM" << "TVM1-Mouse";
        QTest::newRow("identity key, Chinese text") << "Drive1" << "DM" << QStringLiteral("无线鼠标");
        QTest::newRow("other key as stored") << "Drive1" << "MMX" << QString::fromLatin1(Base64(QStringLiteral("3395")));
        QTest::newRow("number as text") << "Option" << "DeviceTotal" << "2";
        QTest::newRow("Chinese text as stored") << "Drive1" << "Name" << QStringLiteral("鼠标 一");
        QTest::newRow("missing key") << "Option" << "Nothing" << "";
        QTest::newRow("missing group") << "Drive9" << "MID" << "";
        QTest::newRow("identity key missing") << "Drive9" << "MM" << "";
    }

    void configValue()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        ConfigIni config(configPath_);
        QCOMPARE(config.GetValue(group, key), expected);
    }

    void configList_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("identity list, each item decoded")
            << "Option" << "USB_PID" << QStringList {"5201", "5202", "5203", "5204", "5205"};
        QTest::newRow("colour list") << "Option" << "LabelColor" << QStringList {"255", "128", "0"};
        QTest::newRow("other list as stored")
            << "Drive1" << "DPIGrade"
            << QStringList {QString::fromLatin1(Base64(QStringLiteral("400"))),
                            QString::fromLatin1(Base64(QStringLiteral("800")))};
        QTest::newRow("single value as a list") << "Option" << "CID" << QStringList {"10"};
        QTest::newRow("missing key") << "Option" << "Nothing" << QStringList();
    }

    void configList()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QStringList, expected);
        ConfigIni config(configPath_);
        QCOMPARE(config.GetValueList(group, key), expected);
    }

    void numbersAreConvertedByTheCaller()
    {
        ConfigIni config(configPath_);
        QCOMPARE(config.GetValue(QStringLiteral("Option"), QStringLiteral("DeviceTotal")).toInt(), 2);
        QCOMPARE(config.GetValue(QStringLiteral("Option"), QStringLiteral("Missing")).toInt(), 0);
    }

    void missingFileReadsEmpty()
    {
        ConfigIni config(NewPath(QStringLiteral("absent/Config.ini")));
        QCOMPARE(config.GetValue(QStringLiteral("Option"), QStringLiteral("CID")), QString());
        QCOMPARE(config.GetValueList(QStringLiteral("Option"), QStringLiteral("USB_PID")), QStringList());
        MacroIni macro(NewPath(QStringLiteral("absent/Macro.ini")));
        QCOMPARE(macro.GetValue(QStringLiteral("Language"), QStringLiteral("Language")), QString());
        QCOMPARE(macro.GetValueList(QStringLiteral("Language"), QStringLiteral("Language")), QStringList());
    }

    void decodeBase64()
    {
        QCOMPARE(ConfigIni::DecodeBase64(QStringLiteral("VFZNMQ==")), QStringLiteral("TVM1"));
        QCOMPARE(ConfigIni::DecodeBase64(QString()), QString());
    }

    void emptyMacroIniSelectsEnglish()
    {
        const QString path = NewPath(QStringLiteral("empty/Macro.ini"));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        MacroIni macro(path);
        QCOMPARE(macro.GetValue(QStringLiteral("Language"), QStringLiteral("Language")), QString());
        QCOMPARE(macro.GetValue(QStringLiteral("Language"), QStringLiteral("Language")).toInt(), 0);
    }

    void macroChangesAreOnDiskAtOnce()
    {
        const QString path = NewPath(QStringLiteral("disk/Macro.ini"));
        MacroIni macro(path);
        macro.SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("3"));
        macro.SetValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"), QStringLiteral("1"));
        // Another store on the same file (as after a restart) reads the values.
        QCOMPARE(MacroIni(path).GetValue(QStringLiteral("Language"), QStringLiteral("Language")),
                 QStringLiteral("3"));

        macro.RemoveKey(QStringLiteral("Language"), QStringLiteral("Language"));
        QCOMPARE(MacroIni(path).GetValue(QStringLiteral("Language"), QStringLiteral("Language")), QString());
        QCOMPARE(MacroIni(path).GetValue(QStringLiteral("AutoStart"), QStringLiteral("Enable")),
                 QStringLiteral("1"));
    }

    void chineseTextRoundTripsInUtf8()
    {
        const QString path = NewPath(QStringLiteral("utf8/Macro.ini"));
        const QString text = QStringLiteral("简体中文, 鼠标宏 \"一\"");
        MacroIni(path).SetValue(QStringLiteral("Language"), QStringLiteral("Name"), text);
        QCOMPARE(MacroIni(path).GetValue(QStringLiteral("Language"), QStringLiteral("Name")), text);

        QVERIFY(MacroIni(path).Flush());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll().contains(QStringLiteral("简体中文").toUtf8()), "the file holds UTF-8 text");
    }

    // The settings files are written here and read by QSettings: every kind
    // of value reads back as QSettings reads what it wrote itself, and a key
    // QSettings wrote survives a change of another key.
    void iniValuesReadBackThroughQSettings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("expected");
        const auto same = [](const char* name, const QString& key, const QVariant& value) {
            QTest::newRow(name) << key << value << value;
        };
        same("plain", "Language/Language", QStringLiteral("3"));
        same("empty", "Group/Empty", QString(""));
        same("commas", "Mouse Drive Test/UpdateFailInfo", QStringLiteral("210,1,2"));
        same("quotes and backslashes", "Group/Quotes", QStringLiteral("say \"hi\" \\ there\\"));
        same("spaces at both ends", "Group/Spaces", QStringLiteral("  padded  "));
        same("text that looks like a type", "Group/At", QStringLiteral("@Invalid()"));
        same("semicolon and equals", "Group/Signs", QStringLiteral("a;b=c"));
        same("control characters", "Group/Control", QStringLiteral("one\ntwo\tthree\r\x01" "a1\x7f"));
        same("Chinese", "Language/Name", QStringLiteral("简体中文"));
        same("outside the basic plane", "Group/Wide", QString::fromUtf8("\xF0\x9F\x96\xB1 mouse"));
        same("zero character", "Group/Zero", QString(QStringLiteral("a")) + QChar(0) + QStringLiteral("0b"));
        same("list", "Group/List", QStringList {"a", "b, c", " d", "@e"});
        same("byte array", "Group/Bytes", QByteArray("\x00\xff ab\\c", 7));
        same("key of the General group", "Top", QStringLiteral("x"));
        same("group named General", "General/Key", QStringLiteral("y"));
        same("key with spaces and Chinese", "Mouse Drive Test/MouseVer鼠标", QStringLiteral("v1.5"));
        same("key below a key", "TALVIRE/TALVIRE/TALVIRE/LanguageIndex", QStringLiteral("2"));
        same("key with signs", "Group/a=b;c%d", QStringLiteral("z"));
        QTest::newRow("one-item list reads as text") << "Group/One" << QVariant(QStringList {"only"})
                                                     << QVariant(QStringLiteral("only"));
        QTest::newRow("empty list reads as no value") << "Group/None" << QVariant(QStringList()) << QVariant();
        QTest::newRow("number reads as text") << "Group/Number" << QVariant(42) << QVariant(QStringLiteral("42"));
    }

    void iniValuesReadBackThroughQSettings()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(QVariant, expected);
        const QString path = NewPath(QStringLiteral("format/") + QString(QTest::currentDataTag()) + ".ini");
        {
            QSettings before(path, QSettings::IniFormat);
            before.setIniCodec(QTextCodec::codecForName("UTF-8"));
            before.setValue(QStringLiteral("Earlier/Kept"), value);
        }
        IniFile file(path);
        QVERIFY(file.SetValue(key, value));
        QVERIFY(file.Flush());

        QSettings settings(path, QSettings::IniFormat);
        settings.setIniCodec(QTextCodec::codecForName("UTF-8"));
        QCOMPARE(settings.status(), QSettings::NoError);
        QCOMPARE(settings.value(key), expected);
        QCOMPARE(settings.value(QStringLiteral("Earlier/Kept")), expected);
        QCOMPARE(settings.allKeys().size(), 2);
        // What another process reads.
        QVariantMap read;
        QVERIFY(IniText::Read(path, &read));
        QCOMPARE(read.value(key), expected);
    }

    // A change another process made to the file is read, and kept by the
    // next change made here.
    void changesOfAnotherWriterAreSeen()
    {
        const QString path = NewPath(QStringLiteral("other/Macro.ini"));
        MacroIni macro(path);
        QVERIFY(macro.SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("1")));
        QVERIFY(macro.Flush());
        {
            QSettings other(path, QSettings::IniFormat);
            other.setValue(QStringLiteral("Language/Language"), QStringLiteral("22"));
            other.setValue(QStringLiteral("FindNew/IsShow"), QStringLiteral("0"));
        }
        QCOMPARE(macro.GetValue(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("22"));
        QVERIFY(macro.SetValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"), QStringLiteral("1")));
        QCOMPARE(MacroIni(path).GetValue(QStringLiteral("FindNew"), QStringLiteral("IsShow")), QStringLiteral("0"));
        QVERIFY(macro.Flush());
        QSettings after(path, QSettings::IniFormat);
        QCOMPARE(after.value(QStringLiteral("Language/Language")).toString(), QStringLiteral("22"));
        QCOMPARE(after.value(QStringLiteral("AutoStart/Enable")).toString(), QStringLiteral("1"));
    }

    // A crash or power loss while Macro.ini is written leaves the old file or
    // the new one: the writer is killed at random moments while it rewrites a
    // large value, and the file must always hold one whole value.
    void macroIniSurvivesAKilledWriter()
    {
        const QString path = NewPath(QStringLiteral("killed/Macro.ini"));
        for (int round = 0; round < 8; ++round) {
            TestChild writer;
            writer.Start({QStringLiteral("write-macro"), path});
            QVERIFY2(writer.WaitForLine(QStringLiteral("writing")), qPrintable(writer.Output()));
            QTest::qSleep(5 + 13 * round);
            writer.Kill();

            const QString value = MacroIni(path).GetValue(QStringLiteral("Test"), QStringLiteral("Value"));
            QCOMPARE(value.size(), 20000);
            QCOMPARE(value.count(value.at(0)), 20000);
        }
        // A writer killed while it held the file's lock does not block the
        // next: the change reaches the disk (a lock still held would fail it).
        MacroIni next(path);
        next.SetValue(QStringLiteral("Test"), QStringLiteral("Value"), QStringLiteral("done"));
        QVERIFY(next.Flush());
        QSettings disk(path, QSettings::IniFormat);
        QCOMPARE(disk.value(QStringLiteral("Test/Value")).toString(), QStringLiteral("done"));
    }

    // A change is read back at once, on every thread, while the writer thread
    // still waits for the file (here: for a lock another process holds); the
    // caller does not wait. The change reaches the disk once the lock is free.
    void changeIsReadBackWithoutWaitingForTheDisk()
    {
        const QString path = NewPath(QStringLiteral("busy/Macro.ini"));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        TestChild holder;
        holder.Start({QStringLiteral("hold-lock"), path});
        QVERIFY2(holder.WaitForLine(QStringLiteral("holding")), qPrintable(holder.Output()));

        // The calls return while the other process still holds the lock: a
        // caller that waited for the disk would not be back before the kill.
        MacroIni macro(path);
        for (int i = 0; i < 100; ++i)
            QVERIFY(macro.SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(i)));
        QCOMPARE(holder.process().state(), QProcess::Running);
        QCOMPARE(macro.GetValue(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("99"));
        QString seen;
        std::thread reader(
            [&] { seen = MacroIni(path).GetValue(QStringLiteral("Language"), QStringLiteral("Language")); });
        reader.join();
        QCOMPARE(seen, QStringLiteral("99"));
        QVERIFY(!QFileInfo::exists(path));

        holder.Kill();
        QVERIFY(macro.Flush());
        QSettings disk(path, QSettings::IniFormat);
        QCOMPARE(disk.value(QStringLiteral("Language/Language")).toString(), QStringLiteral("99"));
    }

    // 1,000 rounds of changes, then an orderly end: the last values are on
    // disk, whether the end comes as the program ends or only through the end
    // of the application object.
    void burstThenOrderlyEnd_data()
    {
        QTest::addColumn<QString>("end");
        QTest::newRow("the program's end") << "program";
        QTest::newRow("the application object's end") << "application";
    }

    void burstThenOrderlyEnd()
    {
        QFETCH(QString, end);
        const QString path = NewPath(QStringLiteral("burst-") + end + QStringLiteral("/Macro.ini"));
        TestChild child;
        child.Start({QStringLiteral("burst"), path, QStringLiteral("1000"), end, end});
        QVERIFY(child.WaitForEnd(60000));
        QVERIFY2(child.Output().contains(QStringLiteral("changed")), qPrintable(child.Output()));
        QCOMPARE(child.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.process().exitCode(), 0);

        QSettings macro(path, QSettings::IniFormat);
        QCOMPARE(macro.value(QStringLiteral("Burst/Value")).toString(), QStringLiteral("999") + end);
        for (int key = 0; key < 10; ++key)
            QCOMPARE(macro.value(QStringLiteral("Burst/Key%1").arg(key)).toString(), QString::number(990 + key) + end);
        QVERIFY(!macro.contains(QStringLiteral("Removed/Value")));
        QSettings registry(Registry::Instance()->FileName(), QSettings::IniFormat);
        QCOMPARE(registry.value(QStringLiteral("Burst/Value")).toString(), QStringLiteral("999") + end);
    }

    // A kill in the middle of a burst of changes leaves both settings files
    // whole: each holds one whole value, old or new.
    void killDuringABurstLeavesTheFilesWhole()
    {
        const QString path = NewPath(QStringLiteral("burst-killed/Macro.ini"));
        const QString registry = Registry::Instance()->FileName();
        for (int round = 0; round < 8; ++round) {
            TestChild writer;
            writer.Start({QStringLiteral("burst-forever"), path});
            QVERIFY2(writer.WaitForLine(QStringLiteral("writing")), qPrintable(writer.Output()));
            QTest::qSleep(3 + 11 * round);
            writer.Kill();
            for (const QString& file : {path, registry}) {
                QVariantMap values;
                QVERIFY(IniText::Read(file, &values));
                const QString value = values.value(QStringLiteral("Test/Value")).toString();
                QCOMPARE(value.size(), 20000);
                QCOMPARE(value.count(value.at(0)), 20000);
            }
        }
    }

    // A damaged settings file is read for what it holds, and the first
    // change writes it afresh: the change reads back, so do the values that
    // could be read, and a damaged file (one that cannot be written back as
    // it was read) is kept beside, byte for byte, once.
    void damagedFileHealsAtTheFirstChange_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QString>("enable"); // AutoStart/Enable as read, kept by the write

        QTest::newRow("five bytes: keys without names and a section") << QByteArray("=\n[\n=") << true << "";
        QTest::newRow("valid keys first, then the damage")
            << QByteArray("[AutoStart]\nEnable=1\n\n[Language]\nLanguage=1\n=\n[\n=") << true << "1";
        QTest::newRow("truncated in a section name")
            << QByteArray("[AutoStart]\nEnable=1\n\n[Langu") << false << "1";
        QTest::newRow("truncated in a quoted value")
            << QByteArray("[Language]\nLanguage=2\n[AutoStart]\nEnable=\"1") << false << "1";
        static const char binary[] = "\x00\xff\xfe\x01\n=\x80\x81\n[\xff\x00\n\x00=\x01\n[AutoStart]\nEnable=1";
        QTest::newRow("binary") << QByteArray(binary, sizeof binary - 1) << true << "1";
        QTest::newRow("stray sections") << QByteArray("]\n[\n[]\n[AutoStart]\nEnable=1\n[[x]]\n[") << false << "1";
        QTest::newRow("keys without values")
            << QByteArray("[AutoStart]\nEnable=1\nShown\nEmpty=\n=0\n  =  \n") << true << "1";
        QTest::newRow("repeated keys and sections")
            << QByteArray("[AutoStart]\nEnable=0\nEnable=1\n[Language]\nLanguage=1\n[AutoStart]\nEnable=1\n")
            << false << "1";
        QTest::newRow("key below a key without a name")
            << QByteArray("[AutoStart]\nEnable=1\n[Language]\n\\Language=3\n/=4\n") << true << "1";
        // Files whose values can all be written so that they read back: no
        // damage, every value stays.
        QTest::newRow("section [general]: keys without a group")
            << QByteArray("[general]\nx=1\n[Language]\nLanguage=1\n[AutoStart]\nEnable=1\n") << false << "1";
        QTest::newRow("group general, Language sorting between it and General")
            << QByteArray("[%general]\nx=1\n[AutoStart]\nEnable=1\n[%GENERAL]\ny=2\n") << false << "1";
        QTest::newRow("NUL, then U+FEFF") << QByteArray("o=\0\xEF\xBB\xBF", 6) << false << "";
        QTest::newRow("a control character, then U+FEFF")
            << QByteArray("[AutoStart]\nEnable=1\nPath=/a\x01\xEF\xBB\xBF/b\n") << false << "1";
        QTest::newRow("half a UTF-16 pair") << QByteArray("[AutoStart]\nEnable=1\nPath=a\\xd800\n") << false << "1";
    }

    void damagedFileHealsAtTheFirstChange()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, damaged);
        QFETCH(QString, enable);
        static int row = 0;
        const QString path = NewPath(QStringLiteral("damaged-%1/Macro.ini").arg(++row));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), qint64(content.size()));
        }
        const QString kept = IniFile::DamagedFileName(path);
        QVariantMap before;
        QVERIFY(IniText::Read(path, &before));
        MacroIni macro(path);
        QCOMPARE(macro.GetValue(QStringLiteral("AutoStart"), QStringLiteral("Enable")), enable);

        QVERIFY(macro.SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("4")));
        QVERIFY(macro.Flush());
        QSettings disk(path, QSettings::IniFormat);
        disk.setIniCodec(QTextCodec::codecForName("UTF-8"));
        QCOMPARE(disk.status(), QSettings::NoError);
        QCOMPARE(disk.value(QStringLiteral("Language/Language")).toString(), QStringLiteral("4"));
        QCOMPARE(disk.value(QStringLiteral("AutoStart/Enable")).toString(), enable);
        QCOMPARE(MacroIni(path).GetValue(QStringLiteral("Language"), QStringLiteral("Language")),
                 QStringLiteral("4"));
        QCOMPARE(QFileInfo::exists(kept), damaged);
        if (damaged) {
            QFile file(kept);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), content);
        } else {
            QVariantMap after;
            QVERIFY(IniText::Read(path, &after));
            before.insert(QStringLiteral("Language/Language"), QStringLiteral("4"));
            QCOMPARE(after, before);
        }

        // Healed, the file is written like any other: nothing more is set aside.
        QVERIFY(QFile::remove(kept) || !damaged);
        QVERIFY(macro.SetValue(QStringLiteral("FindNew"), QStringLiteral("IsShow"), QStringLiteral("1")));
        QVERIFY(macro.Flush());
        QCOMPARE(MacroIni(path).GetValue(QStringLiteral("FindNew"), QStringLiteral("IsShow")), QStringLiteral("1"));
        QCOMPARE(MacroIni(path).GetValue(QStringLiteral("Language"), QStringLiteral("Language")),
                 QStringLiteral("4"));
        QVERIFY(!QFileInfo::exists(kept));
    }

    // Each damage keeps its own copy, under the next free number; a copy's
    // name that is taken by a link is passed by, the link not followed.
    void damagedCopiesAreNumberedAndNoLinkIsFollowed()
    {
        const QString path = NewPath(QStringLiteral("numbered/Macro.ini"));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        const QString first = IniFile::DamagedFileName(path);
        const QString victim = NewPath(QStringLiteral("numbered/victim"));
        const QString target = NewPath(QStringLiteral("numbered/target"));
        QVERIFY(PutFile(victim, "victim"));
        QVERIFY(QFile::link(victim, first));
        QVERIFY(QFile::link(target, first + ".3"));
        IniFile file(path);
        const QByteArray damage[] = {"=\n[AutoStart]\nEnable=1\n", "[\n=2\n[AutoStart]\nEnable=0\n"};
        const char* copies[] = {".2", ".4"};
        for (int i = 0; i < 2; ++i) {
            QVERIFY(PutFile(path, damage[i]));
            QVERIFY(file.SetValueFlushed(QStringLiteral("Language/Language"), QString::number(i)));
            QCOMPARE(ReadFile(first + copies[i]), damage[i]);
        }
        QCOMPARE(ReadFile(first + ".2"), damage[0]);
        QCOMPARE(ReadFile(victim), QByteArray("victim"));
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(QFileInfo(first).isSymLink());
        QVERIFY(!QFileInfo::exists(first + ".5"));
    }

    // A damaged file whose copy cannot be made (the disk is full: here a
    // limit on the size of a file the process writes) stays as it is, and the
    // write fails; once the copy can be made, the file heals.
    void damagedFileStaysWhenItsCopyCannotBeMade()
    {
        const QString path = NewPath(QStringLiteral("full/Macro.ini"));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        const QByteArray content = "=\n;" + QByteArray(64 * 1024, 'x') + "\n[AutoStart]\nEnable=1\n";
        QVERIFY(PutFile(path, content));
        IniFile file(path);
        {
            FileSizeLimit limit(16 * 1024);
            QVERIFY(!file.SetValueFlushed(QStringLiteral("Language/Language"), QStringLiteral("1")));
        }
        QCOMPARE(ReadFile(path), content);
        const QStringList copies = QDir(QFileInfo(path).path()).entryList({QStringLiteral("Macro.ini.damaged*")});
        QCOMPARE(copies, QStringList());
        QVERIFY(file.Flush());
        QCOMPARE(ReadFile(IniFile::DamagedFileName(path)), content);
        QCOMPARE(MacroIni(path).GetValue(QStringLiteral("AutoStart"), QStringLiteral("Enable")), QStringLiteral("1"));
    }

    // The registry file heals the same way: the flushed record is on disk.
    void damagedRegistryHeals()
    {
        Registry* const registry = Registry::Instance();
        const QString path = registry->FileName();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("[Mouse%20Drive%20Test]\nMouseVer101=v1.5\n[General]\n=\n[\n=");
        }
        QVERIFY(registry->SetValueFlushed(Registry::UpdateFailInfoKey(), QStringLiteral("211,4,10,1")));
        QSettings disk(path, QSettings::IniFormat);
        QCOMPARE(disk.value(Registry::UpdateFailInfoKey()).toString(), QStringLiteral("211,4,10,1"));
        QCOMPARE(disk.value(Registry::MouseVerKey(QStringLiteral("10"), QStringLiteral("1"))).toString(),
                 QStringLiteral("v1.5"));
        QVERIFY(QFileInfo::exists(IniFile::DamagedFileName(path)));
        QVERIFY(registry->RemoveKeyFlushed(Registry::UpdateFailInfoKey()));
        QVERIFY(QFile::remove(IniFile::DamagedFileName(path)));
    }

    // A key without a name could never be written back: it is refused, and
    // the file stays writable.
    void keyWithoutNameIsRefused()
    {
        const QString path = NewPath(QStringLiteral("nameless/Macro.ini"));
        IniFile file(path);
        for (const QString& key : {QString(), QStringLiteral("/"), QStringLiteral("//")}) {
            QVERIFY(!file.SetValue(key, QStringLiteral("x")));
            QVERIFY(!file.SetValueFlushed(key, QStringLiteral("x")));
            QVERIFY(!file.Remove(key));
        }
        QVERIFY(file.SetValueFlushed(QStringLiteral("Language/Language"), QStringLiteral("2")));
        QCOMPARE(MacroIni(path).GetValue(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("2"));
        QVERIFY(!QFileInfo::exists(IniFile::DamagedFileName(path)));
    }

    // Flush returns only when the last value is on the disk, also while the
    // writer is still busy with an earlier, slow job: the file read at once
    // holds it.
    void flushWaitsForTheDisk()
    {
        const QString path = NewPath(QStringLiteral("flush/Macro.ini"));
        Registry* const registry = Registry::Instance();
        for (int round = 0; round < 3; ++round) {
            const QString value = QStringLiteral("value %1").arg(round);
            SettingsWriter::Instance()->Post([] { SettingsWriter::Instance()->HoldUntilDrained(TestLimit(10000)); });
            MacroIni macro(path);
            QVERIFY(macro.SetValue(QStringLiteral("Test"), QStringLiteral("Value"), value));
            QVERIFY(registry->SetValue(QStringLiteral("Test/Value"), value));
            QVERIFY(macro.Flush());
            QVERIFY(registry->Flush());
            QVariantMap onDisk;
            QVERIFY(IniText::Read(path, &onDisk));
            QCOMPARE(onDisk.value(QStringLiteral("Test/Value")).toString(), value);
            QVERIFY(IniText::Read(registry->FileName(), &onDisk));
            QCOMPARE(onDisk.value(QStringLiteral("Test/Value")).toString(), value);
        }
        QVERIFY(registry->RemoveKeyFlushed(QStringLiteral("Test")));
    }

    // Drain returns only once the last job has run to its end, also when the
    // writer took that job up before the caller began to wait (held here until
    // then).
    void drainWaitsForTheJobBeingWritten()
    {
        const auto taken = std::make_shared<std::atomic<bool>>(false);
        const auto written = std::make_shared<std::atomic<bool>>(false);
        SettingsWriter::Instance()->Post([taken, written] {
            *taken = true;
            SettingsWriter::Instance()->HoldUntilDrained(10000);
            *written = true;
        });
        TRY_VERIFY(taken->load());
        SettingsWriter::Instance()->Drain();
        QVERIFY(written->load());
    }

    // A writer that died right after it made the file's lock leaves an empty
    // lock behind; the next change must not wait for it (nor half a minute).
    void abandonedLockDoesNotBlock()
    {
        const QString path = NewPath(QStringLiteral("lock/Macro.ini"));
        MacroIni macro(path);
        macro.SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("1"));
        QVERIFY(macro.Flush());
        QFile lock(path + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
        lock.close();

        // Taken as abandoned: a lock still respected would fail the write
        // after the lock wait.
        macro.SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("2"));
        QVERIFY(macro.Flush());
        QCOMPARE(MacroIni(path).GetValue(QStringLiteral("Language"), QStringLiteral("Language")), QStringLiteral("2"));
    }

    // The worker and the device library's threads read the product description
    // while the GUI thread reads and writes Macro.ini.
    void severalThreads()
    {
        ConfigIni config(configPath_);
        MacroIni macro(NewPath(QStringLiteral("threads/Macro.ini")));
        const QStringList values = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("简体中文")};
        macro.SetValue(QStringLiteral("Language"), QStringLiteral("Language"), values.at(0));

        std::atomic<int> wrong {0};
        std::atomic<bool> stop {false};
        std::vector<std::thread> readers;
        for (int t = 0; t < 6; ++t) {
            readers.emplace_back([&] {
                const QStringList pids = {"5201", "5202", "5203", "5204", "5205"};
                while (!stop) {
                    if (config.GetValue(QStringLiteral("Option"), QStringLiteral("CID")) != QLatin1String("10"))
                        ++wrong;
                    if (config.GetValueList(QStringLiteral("Option"), QStringLiteral("USB_PID")) != pids)
                        ++wrong;
                    if (!values.contains(macro.GetValue(QStringLiteral("Language"), QStringLiteral("Language"))))
                        ++wrong;
                }
            });
        }
        std::thread writer([&] {
            for (int i = 0; i < 200; ++i)
                macro.SetValue(QStringLiteral("Language"), QStringLiteral("Language"), values.at(i % values.size()));
        });
        for (int i = 0; i < 200; ++i)
            macro.SetValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"), QString::number(i % 2));
        writer.join();
        stop = true;
        for (std::thread& reader : readers)
            reader.join();
        QCOMPARE(wrong.load(), 0);
        QCOMPARE(macro.GetValue(QStringLiteral("AutoStart"), QStringLiteral("Enable")), QStringLiteral("1"));
    }
};

TALVIRE_TEST_MAIN(SettingsStoresTest)
#include "test_settings_stores.moc"
