// The macro files: listing the folder, reading, writing and appending.
#include "core/MacroFile.h"

#include "tests/common/TestEnvironment.h"
#include "tests/macro/ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {
QByteArray Content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool Put(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// The rows of a file as short texts: "d:10ms" or "0x04 1 0".
QStringList Rows(const MacroFile::Content& content)
{
    QStringList rows;
    for (const MacroFile::Line& line : content.lines) {
        if (line.delay)
            rows << QStringLiteral("d:") + line.text;
        else
            rows << QStringLiteral("%1 %2 %3").arg(line.code).arg(line.kind).arg(line.release ? 1 : 0);
    }
    return rows;
}

MacroFile::Line Key(const QString& code, int kind, bool release)
{
    MacroFile::Line line;
    line.code = code;
    line.kind = kind;
    line.release = release;
    return line;
}

MacroFile::Line Delay(const QString& text)
{
    MacroFile::Line line;
    line.delay = true;
    line.text = text;
    return line;
}
} // namespace

class MacroFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString Path(const QString& name) const { return MacroFile::PathOf(dir_.path(), name); }

private slots:
    void folderIsPerUser()
    {
        QVERIFY(MacroFile::Folder().endsWith(QLatin1String("/TALVIRE/usersetting/MacroPage")));
        QCOMPARE(MacroFile::PathOf(QStringLiteral("/f"), QStringLiteral("m")), QStringLiteral("/f/m.ini"));
    }

    void repeatCode_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<int>("code");
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("251") << "251" << 1;
        QTest::newRow("abc") << "abc" << 1;
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("negative") << "-3" << 1;
        QTest::newRow("254") << "254" << 254;
        QTest::newRow("255") << "255" << 255;
        QTest::newRow("253") << "253" << 253;
        QTest::newRow("12") << "12" << 12;
        QTest::newRow("250 with blanks") << " 250 " << 250;
        QTest::newRow("1") << "1" << 1;
    }

    void repeatCode()
    {
        QFETCH(QString, header);
        QFETCH(int, code);
        QCOMPARE(MacroFile::RepeatCodeOf(header), code);
        // The same through a file.
        QVERIFY(Put(Path("repeat"), header.toUtf8() + "\n0x04 1 0\n"));
        MacroFile::Content content;
        QVERIFY(MacroFile::Read(Path("repeat"), &content));
        QVERIFY(content.hasHeader);
        QCOMPARE(MacroFile::RepeatCodeOf(content.header), code);
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("press, delay, release")
            << QByteArray("254\n0x04 1 0\n10ms\n0x04 1 1\n") << QStringList{"0x04 1 0", "d:10ms", "0x04 1 1"};
        QTest::newRow("windows line ends")
            << QByteArray("254\r\n0x04 1 0\r\n10ms\r\n0x2C 1 1\r\n") << QStringList{"0x04 1 0", "d:10ms", "0x2C 1 1"};
        QTest::newRow("key line with a trailing blank")
            << QByteArray("1\n10ms\n0x04 1 0 \n") << QStringList{"d:10ms"};
        QTest::newRow("last key line without line end")
            << QByteArray("1\n10ms\n0x04 1 0") << QStringList{"d:10ms"};
        QTest::newRow("last delay line without line end") << QByteArray("1\n10ms") << QStringList{"d:10ms"};
        QTest::newRow("empty line") << QByteArray("1\n\n0x04 1 0\n") << QStringList{"d:", "0x04 1 0"};
        QTest::newRow("flag other than 0 or 1") << QByteArray("1\n0x04 1 2\n") << QStringList{};
        QTest::newRow("two parts") << QByteArray("1\n0x04 1\n10 ms\n") << QStringList{};
        QTest::newRow("four parts") << QByteArray("1\n0x04 1 0 0\n") << QStringList{};
        QTest::newRow("leading blanks") << QByteArray("1\n  0x04  4  1\n") << QStringList{"0x04 4 1"};
        QTest::newRow("kind not a number") << QByteArray("1\n0x04 x 0\n") << QStringList{"0x04 0 0"};
        QTest::newRow("a bare flag reads as a delay text") << QByteArray("1\n0\n") << QStringList{"d:0"};
        QTest::newRow("header only") << QByteArray("7\n") << QStringList{};
        QTest::newRow("Chinese delay text") << QByteArray("1\n\xe5\xbb\xb6ms\n") << QStringList{"d:\u5ef6ms"};
    }

    void read()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, rows);
        QVERIFY(Put(Path("read"), file));
        MacroFile::Content content;
        QVERIFY(MacroFile::Read(Path("read"), &content));
        QCOMPARE(Rows(content), rows);
    }

    void readEmptyAndMissing()
    {
        MacroFile::Content content;
        QVERIFY(Put(Path("empty"), QByteArray()));
        QVERIFY(MacroFile::Read(Path("empty"), &content));
        QVERIFY(!content.hasHeader);
        QVERIFY(content.lines.isEmpty());
        QVERIFY(!MacroFile::Read(Path("missing"), &content));
        QCOMPARE(MacroFile::ReadHeaderValue(Path("missing")), QStringLiteral("0"));
        QCOMPARE(MacroFile::ReadHeaderValue(Path("empty")), QStringLiteral("0"));
        QVERIFY(Put(Path("header"), "253 x\n10ms\n"));
        QCOMPARE(MacroFile::ReadHeaderValue(Path("header")), QStringLiteral("253"));
    }

    // A file far larger than a macro can be is not read.
    void readTooLarge()
    {
        QVERIFY(Put(Path("large"), "1\n" + QByteArray("10ms\n").repeated(int(MacroFile::MaxFileSize / 5) + 1)));
        MacroFile::Content content;
        QVERIFY(!MacroFile::Read(Path("large"), &content));
        QVERIFY(content.lines.isEmpty());
    }

    // Only ".ini" files are macros, each named by its file name without that
    // ending; folders, links and names no macro can have are left out.
    void list()
    {
        QTemporaryDir folder;
        for (const char* name : {"beta.ini", "Alpha.ini", "c.txt", "xml1.ini", "myxml.ini", "d.ini.ini",
                                 "Gamma.ini", "E.INI", ".ini", ".ini.ini", "f.ini.1-2.tmp"})
            QVERIFY(Put(folder.filePath(QLatin1String(name)), "1\n"));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder.ini")));
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("beta.ini")), folder.filePath(QStringLiteral("link.ini"))));
        QCOMPARE(MacroFile::List(folder.path()), (QStringList{".ini", "Alpha", "beta", "d.ini", "Gamma"}));
        QCOMPARE(MacroFile::List(folder.filePath(QStringLiteral("none"))), QStringList{});
    }

    // Every name the program accepts maps to a file of its own and back, next
    // to the macros "a" and "a.ini"; a name is accepted only when its file and
    // the copy that replaces it have names the file system takes.
    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("allowed");
        const auto chinese = [](int characters) { return QString(characters, QChar(0x5B8F)); };
        QTest::newRow("plain") << "m" << true;
        QTest::newRow("blank inside") << "my macro" << true;
        QTest::newRow("a.ini") << "a.ini" << true;
        QTest::newRow("a.ini.ini") << "a.ini.ini" << true;
        QTest::newRow(".ini") << ".ini" << true;
        QTest::newRow("A.INI") << "A.INI" << true;
        QTest::newRow("A") << "A" << true;
        QTest::newRow("ini inside") << "b.inix" << true;
        QTest::newRow("30 bytes, 10 Chinese") << chinese(10) << true;
        QTest::newRow("31 bytes, a and 10 Chinese") << "a" + chinese(10) << true;
        QTest::newRow("48 bytes, 16 Chinese") << chinese(16) << true;
        QTest::newRow("214 bytes") << QString(214, QLatin1Char('a')) << true;
        QTest::newRow("215 bytes") << QString(215, QLatin1Char('a')) << false;
        QTest::newRow("213 bytes, 71 Chinese") << chinese(71) << true;
        QTest::newRow("216 bytes, 72 Chinese") << chinese(72) << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("parent path") << "../x" << false;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("NUL") << QString("a") + QChar(0) + "b" << false;
        QTest::newRow("line feed") << "a\nb" << false;
        QTest::newRow("tab") << "a\tb" << false;
        QTest::newRow("holds xml") << "xml1" << false;
        QTest::newRow("dots inside") << "a..b" << true;
        // Names from the mouse's bytes, and names that would not come back
        // from their bytes.
        QTest::newRow("byte FF from the mouse") << QString(QChar(0xF7FF)) << true;
        QTest::newRow("a and byte E9 from the mouse") << QString("a") + QChar(0xF7E9) << true;
        QTest::newRow("bytes C3 A9, which read as U+00E9") << QString(QChar(0xF7C3)) + QChar(0xF7A9) << false;
        QTest::newRow("half a UTF-16 pair") << QString(QChar(0xD800)) << false;
    }

    void names()
    {
        QFETCH(QString, name);
        QFETCH(bool, allowed);
        QCOMPARE(MacroFile::NameAllowed(name), allowed);
        if (!allowed)
            return;
        QTemporaryDir folder;
        QStringList names{"a", "a.ini"};
        if (!names.contains(name))
            names << name;
        for (const QString& macro : names)
            QVERIFY(MacroFile::Write(MacroFile::PathOf(folder.path(), macro), macro, {}));
        QStringList listed = MacroFile::List(folder.path());
        QCOMPARE(listed.count(name), 1);
        std::sort(listed.begin(), listed.end());
        std::sort(names.begin(), names.end());
        QCOMPARE(listed, names);
        for (const QString& macro : names)
            QCOMPARE(Content(MacroFile::PathOf(folder.path(), macro)), macro.toUtf8() + "\n");
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), names.size());
    }

    void writeAndReadBack()
    {
        const QVector<MacroFile::Line> lines = {Key("0x04", 1, false), Delay("10ms"), Key("0x02", 4, true),
                                                Key("0x01", 0, false)};
        QVERIFY(MacroFile::Write(Path("w"), QStringLiteral("254"), lines));
        QCOMPARE(Content(Path("w")), QByteArray("254\n0x04 1 0\n10ms\n0x02 4 1\n0x01 0 0\n"));
        MacroFile::Content content;
        QVERIFY(MacroFile::Read(Path("w"), &content));
        QCOMPARE(content.header, QStringLiteral("254"));
        QCOMPARE(Rows(content), (QStringList{"0x04 1 0", "d:10ms", "0x02 4 1", "0x01 0 0"}));

        QVERIFY(MacroFile::WriteHeader(Path("w"), QStringLiteral("12")));
        QCOMPARE(Content(Path("w")), QByteArray("12\n"));
        QVERIFY(MacroFile::CreateEmpty(Path("w")));
        QCOMPARE(Content(Path("w")), QByteArray());
    }

    // An append keeps what the file holds and adds the rows; a missing file
    // stays missing.
    void append_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("after line 1") << QByteArray("255\n") << QByteArray("255\n0x04 1 0\n20ms\n");
        QTest::newRow("last line without line end")
            << QByteArray("255\n0x05 1 0") << QByteArray("255\n0x05 1 0\n0x04 1 0\n20ms\n");
        QTest::newRow("empty file") << QByteArray() << QByteArray("0x04 1 0\n20ms\n");
    }

    void append()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QVERIFY(Put(Path("a"), before));
        QVERIFY(MacroFile::Append(Path("a"), {Key("0x04", 1, false), Delay("20ms")}));
        QCOMPARE(Content(Path("a")), after);
        QVERIFY(!MacroFile::Append(Path("none"), {Delay("20ms")}));
        QVERIFY(!QFile::exists(Path("none")));
    }

    // A write that cannot be made leaves the old file whole.
    void failedWriteKeepsOldFile()
    {
        const QString folder = dir_.filePath(QStringLiteral("readonly"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = MacroFile::PathOf(folder, QStringLiteral("m"));
        const QByteArray old = "254\n0x04 1 0\n10ms\n0x04 1 1\n";
        QVERIFY(Put(path, old));
        bool written = true, appended = true, emptied = true;
        {
            ReadOnlyFolder readOnly(folder);
            if (!readOnly.Ok())
                QSKIP("no read-only folder can be made here");
            written = MacroFile::Write(path, QStringLiteral("1"), {Delay("5ms")});
            appended = MacroFile::Append(path, {Delay("5ms")});
            emptied = MacroFile::CreateEmpty(path);
        }
        QVERIFY(!written);
        QVERIFY(!appended);
        QVERIFY(!emptied);
        QCOMPARE(Content(path), old);
    }
};

TALVIRE_TEST_MAIN(MacroFileTest)
#include "test_macro_file.moc"
