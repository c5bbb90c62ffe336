// The language loader over small files, the language index, and the six
// language files beside the program.
#include "core/LanguageTexts.h"
#include "core/MacroIni.h"

#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QXmlStreamReader>

namespace {
// The element and children of every window of the core, the main window and
// the dialogs; each language file holds all of them.
const QVector<QPair<QString, QStringList>> WindowElements = {
    {"DialogMain", {"MainForm", "Exit"}},
    {"DialogChange", {"label", "label_2", "label_3", "NewHong", "NoApear", "RepairDevice",
                      "OfflineTips1", "OfflineTips2", "MouseIsNewTips"}},
    {"Match", {"label", "textEdit", "MatchButton", "Matching", "MatchFail", "MatchSuccess"}},
    {"UpDataParam", {"label", "label_1"}},
    {"Question", {"label", "label_2", "NewHong", "NewHong_2"}},
    {"QuestionB", {"label"}},
    {"MouseOffLine", {"label", "Timeout", "NewHong"}},
    {"ButtonOnly", {"label"}},
    {"MakeMacro", {"label", "NewHong"}},
    {"SameMacro", {"label", "NewHong", "Debunce"}},
    {"MaxThree", {"label", "NewHong"}},
    {"Limit", {"label", "NewHong"}},
    {"ContainReset", {"label", "OK", "Cancel"}},
    {"RePair", {"label", "OK", "Cancel"}},
    {"DeleteConfirm", {"label", "NewHong"}},
    {"Progress", {"Confirm", "UpdateNotMove", "UpDateFail", "UpDateSuccess"}},
    {"EXEIsRun", {"label", "NewHong", "label_2", "PleaseStop", "SaveFail", "RenameFail", "DeleteFail", "ExportFail",
                  "ImportFail", "NameFail", "NewFail", "ImportSaveFail"}},
    {"InportFail", {"label", "label_1", "NewHong", "ExportFail"}},
    {"NewVer", {"label", "NewHong", "NoApear"}},
    {"LessThree", {"label", "NewHong"}},
    {"groupKey", {"label", "NewHong", "NewHong_2"}},
    {"FireKey", {"label", "label_2", "label_3", "NewHong", "NewHong_2"}},
    {"AddDelayTime", {"label", "NewHong", "NewHong_2"}},
    {"AddKey", {"label", "NewHong", "NewHong_2"}},
    {"Macro", {"label", "label_2", "NewHong", "DeleteHong", "Amend", "DeleteKey", "ChooseEvent1", "ChooseEvent2",
               "ChooseEvent3", "ChooseEvent4", "ChooseEvent5", "ChooseEvent6", "ChooseEvent7", "ChooseEvent8",
               "MacroReal", "StartRecord", "StopRecord", "AutoInsertDelay", "DefaultDelay", "ReUntilLoose",
               "ReUntilClick", "ReUntil", "ReNumber", "label_3", "Save", "Key1", "Key2", "Key3", "Key4", "Key5"}},
    {"Sensor", {"label_2", "label_3", "label_5", "label_11", "ModeSelectDes", "label_12", "LODDes", "label_7",
                "MotionSyncDes", "Performance", "FullPerformanceDes", "PerformanceOpen", "PerformanceOpen1",
                "PerformanceOpen2", "PerformanceOpen3", "PerformanceOpen4", "PerformanceOpen5", "Model", "Model1",
                "Model2", "label", "RippleDes", "label_6", "FixLineDes", "label_4", "label_14", "label_15"}},
    {"Buttoninterface", {"Reset", "ImportData", "OutputData", "FireKey", "RightKey", "BackKey", "StartPause",
                         "TopMusic", "BackMusic", "LeftKey_3", "RightKey_3", "MidKey", "BackKey_2", "ForWardKey",
                         "DPI_2", "DPI_3", "DPI_6", "DPI_8", "DPI_5", "DPI_13", "DPI_11", "DPI_10", "DPI_9", "DPI_7",
                         "DPI_12", "DPI_4", "Player", "StartPause_2", "BackMusic_2", "TopMusic_2", "Mute",
                         "VolumeUp", "VolumeDown", "VolumeDown_4", "VolumeDown_5", "VolumeDown_6", "VolumeDown_3",
                         "VolumeDown_8", "VolumeDown_9", "VolumeDown_7", "VolumeDown_10", "VolumeDown_12",
                         "VolumeDown_13", "VolumeDown_11", "VolumeUp_4", "VolumeUp_5", "VolumeUp_6", "VolumeUp_7",
                         "VolumeUp_2", "VolumeDown_2", "VolumeUp_14", "VolumeDown_14", "VolumeUp_8", "checkBox",
                         "Macro_", "Config", "S1", "S2", "S3", "S4", "S5", "S6", "S7", "S8", "S9", "S10", "S11",
                         "S12", "S13", "S14", "S15", "S16", "S17", "S18", "S19", "S20"}},
};
} // namespace

class TestLanguage : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString Fixture(const QByteArray& content)
    {
        static int count = 0;
        const QString path = dir_.filePath(QStringLiteral("fixture%1.xml").arg(++count));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(content);
        return path;
    }

private slots:
    void fileNameByIndex_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("file");
        QTest::newRow("0") << 0 << "0-English.xml";
        QTest::newRow("1") << 1 << QString::fromUtf8("1-简体中文.xml");
        QTest::newRow("2") << 2 << QString::fromUtf8("2-繁体中文.xml");
        QTest::newRow("3") << 3 << "3-Korea.xml";
        QTest::newRow("4") << 4 << "4-Russia.xml";
        QTest::newRow("5") << 5 << "5-Japanese.xml";
        QTest::newRow("6") << 6 << "0-English.xml";
        QTest::newRow("7") << 7 << "0-English.xml";
        QTest::newRow("-1") << -1 << "0-English.xml";
    }
    void fileNameByIndex()
    {
        QFETCH(int, index);
        QFETCH(QString, file);
        QCOMPARE(LanguageTexts::FileName(index),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/Language/") + file);
    }

    void storedIndex_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("file");
        QTest::newRow("missing key") << "" << false << "0-English.xml";
        QTest::newRow("empty") << "" << true << "0-English.xml";
        QTest::newRow("not a number") << "abc" << true << "0-English.xml";
        QTest::newRow("7") << "7" << true << "0-English.xml";
        QTest::newRow("-1") << "-1" << true << "0-English.xml";
        QTest::newRow("1") << "1" << true << QString::fromUtf8("1-简体中文.xml");
        QTest::newRow("5") << "5" << true << "5-Japanese.xml";
    }
    void storedIndex()
    {
        QFETCH(QString, stored);
        QFETCH(bool, present);
        QFETCH(QString, file);
        if (present)
            MacroIni::Instance()->SetValue("Language", "Language", stored);
        else
            MacroIni::Instance()->RemoveKey("Language", "Language");
        QVERIFY(LanguageTexts::FileName(LanguageTexts::StoredIndex()).endsWith(QLatin1Char('/') + file));
        MacroIni::Instance()->RemoveKey("Language", "Language");
    }

    // The loader over small files. The window reads element "Win" with a
    // label child "label" and a kept text "Hint"; "after" records the label
    // text seen when the pass over the root ended.
    void loader_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("error");

        QTest::newRow("plain") << QByteArray("<?xml version=\"1.0\"?><Total><Win><label>Hello</label>"
                                             "<Hint>Kept</Hint></Win></Total>")
                               << "Hello" << "Kept" << false;
        QTest::newRow("root other than Total")
            << QByteArray("<Labels><Win><label>Hello</label></Win></Labels>") << "form" << "" << true;
        QTest::newRow("element twice, later wins")
            << QByteArray("<Total><Win><label>One</label><Hint>H1</Hint></Win>"
                          "<Win><label>Two</label></Win></Total>")
            << "Two" << "H1" << false;
        QTest::newRow("other window with nested children skipped")
            << QByteArray("<Total><Other><label>No</label><a><b><label>No</label></b></a></Other>"
                          "<Win><label>Yes</label></Win></Total>")
            << "Yes" << "" << false;
        QTest::newRow("unknown child with children skipped")
            << QByteArray("<Total><Win><Extra><label>No</label></Extra><label>Yes</label></Win></Total>")
            << "Yes" << "" << false;
        QTest::newRow("element deeper than the root's children")
            << QByteArray("<Total><Group><Win><label>No</label></Win></Group></Total>") << "form" << "" << false;
        QTest::newRow("empty text") << QByteArray("<Total><Win><label></label><Hint/></Win></Total>") << ""
                                    << "" << false;
        QTest::newRow("blanks and line breaks kept")
            << QByteArray("<Total><Win><label>   Three blanks\nand a break </label></Win></Total>")
            << "   Three blanks\nand a break " << "" << false;
        QTest::newRow("entities, comments, CDATA")
            << QByteArray("<Total><!-- c --><Win><?pi x?><label>a &amp; &lt;b&gt; <![CDATA[<c>]]></label>"
                          "</Win></Total>")
            << "a & <b> <c>" << "" << false;
        QTest::newRow("child holding an element applies the text so far and ends the load")
            << QByteArray("<Total><Win><label>Before<b>x</b>after</label><Hint>Never</Hint></Win></Total>")
            << "Before" << "" << true;
        QTest::newRow("malformed keeps what came before")
            << QByteArray("<Total><Win><label>Early</label><Hint>Cut</Win><Win><label>Late</label></Win></Total>")
            << "Early" << "Cut"
            << true;
        QTest::newRow("names compared with case")
            << QByteArray("<Total><win><label>No</label></win><Win><Label>No</Label></Win></Total>")
            << "form" << "" << false;
        QTest::newRow("attributes ignored")
            << QByteArray("<Total lang=\"x\"><Win a=\"1\"><label b=\"2\">Yes</label></Win></Total>") << "Yes"
            << "" << false;
        // Built here: 100,000 nested elements in a window the loader does not
        // read (a recursive skip runs out of stack), and a nesting a language
        // file may have.
        const auto nested = [](int levels) {
            return QByteArray("<Total><Win><label>Before</label></Win><Other>") + QByteArray("<a>").repeated(levels)
                + QByteArray("</a>").repeated(levels) + QByteArray("</Other><Win><Hint>After</Hint></Win></Total>");
        };
        QTest::newRow("nesting too deep ends the load, keeping what came before")
            << nested(100000) << "Before" << "" << true;
        QTest::newRow("nesting within the limit skipped") << nested(40) << "Before" << "After" << false;
        QTest::newRow("encoding named by the declaration")
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Total><Win><label>caf\xe9</label>"
                          "</Win></Total>")
            << QString::fromUtf8("café") << "" << false;
    }
    void loader()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, label);
        QFETCH(QString, hint);
        QFETCH(bool, error);

        QLabel widget(QStringLiteral("form"));
        QString kept;
        LanguageTexts texts(QStringLiteral("Win"), {
            {QStringLiteral("label"), LanguageTexts::TextOf(&widget)},
            {QStringLiteral("Hint"), LanguageTexts::Keep(&kept)},
        });
        QVERIFY(texts.LoadFile(Fixture(xml)));
        QCOMPARE(widget.text(), label);
        QCOMPARE(kept, hint);
        QCOMPARE(!texts.ErrorString().isEmpty(), error);
    }

    // A file larger than a language file may be is not read at all: here the
    // 400,000 nested elements that once overflowed the stack.
    void oversizedFileIsRefused()
    {
        QLabel widget(QStringLiteral("form"));
        LanguageTexts texts(QStringLiteral("Win"), {{QStringLiteral("label"), LanguageTexts::TextOf(&widget)}});
        const QByteArray xml = QByteArray("<Total><Win><label>Never</label></Win><Other>")
            + QByteArray("<a>").repeated(400000) + QByteArray("</a>").repeated(400000) + "</Other></Total>";
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("language file .* is not read")));
        QVERIFY(!texts.LoadFile(Fixture(xml)));
        QCOMPARE(widget.text(), QStringLiteral("form"));
        QVERIFY(!texts.ErrorString().isEmpty());
    }

    void wrongRootReportsNotALabelsFile()
    {
        QLabel widget(QStringLiteral("form"));
        LanguageTexts texts(QStringLiteral("Win"), {{QStringLiteral("label"), LanguageTexts::TextOf(&widget)}});
        texts.LoadFile(Fixture("<Other><Total><Win><label>x</label></Win></Total></Other>"));
        QCOMPARE(texts.ErrorString(), QStringLiteral("Not a labels file"));
        QCOMPARE(widget.text(), QStringLiteral("form"));
    }

    void missingFileChangesNothingAndLaterLoadReplaces()
    {
        QLabel widget(QStringLiteral("form"));
        LanguageTexts texts(QStringLiteral("Win"), {{QStringLiteral("label"), LanguageTexts::TextOf(&widget)}});
        QVERIFY(!texts.LoadFile(dir_.filePath(QStringLiteral("absent.xml"))));
        QCOMPARE(widget.text(), QStringLiteral("form"));
        QVERIFY(texts.LoadFile(Fixture("<Total><Win><label>Loaded</label></Win></Total>")));
        QCOMPARE(widget.text(), QStringLiteral("Loaded"));
        // A later load without the child keeps the text.
        QVERIFY(texts.LoadFile(Fixture("<Total><Win/></Total>")));
        QCOMPARE(widget.text(), QStringLiteral("Loaded"));
    }

    void sameChildTwiceAndConditions()
    {
        QLabel widget(QStringLiteral("form"));
        QString kept;
        int situation = 0;
        LanguageTexts texts(QStringLiteral("Win"), {
            {QStringLiteral("label"), LanguageTexts::When([&] { return situation == 0; },
                                                          LanguageTexts::TextOf(&widget))},
            {QStringLiteral("other"), LanguageTexts::When([&] { return situation == 1; },
                                                          LanguageTexts::TextOf(&widget))},
            {QStringLiteral("label"), LanguageTexts::Keep(&kept)},
        });
        int finished = 0;
        texts.SetFinished([&] { ++finished; });
        const QString file = Fixture("<Total><Win><label>First</label><other>Second</other></Win></Total>");
        texts.LoadFile(file);
        QCOMPARE(widget.text(), QStringLiteral("First"));
        QCOMPARE(kept, QStringLiteral("First"));
        situation = 1;
        texts.LoadFile(file);
        QCOMPARE(widget.text(), QStringLiteral("Second"));
        situation = 2; // neither: the label keeps its text
        widget.setText(QStringLiteral("kept"));
        texts.LoadFile(file);
        QCOMPARE(widget.text(), QStringLiteral("kept"));
        QCOMPARE(finished, 3);
    }

    // The files beside the program: well-formed UTF-8 with the root "Total",
    // holding every element and child of the windows once.
    void languageFiles_data()
    {
        QTest::addColumn<int>("index");
        for (int index = 0; index <= 5; ++index)
            QTest::newRow(qPrintable(LanguageTexts::FileName(index).section(QLatin1Char('/'), -1))) << index;
    }
    void languageFiles()
    {
        QFETCH(int, index);
        QFile file(LanguageTexts::FileName(index));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QByteArray bytes = file.readAll();
        QTextCodec::ConverterState state;
        QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
        QCOMPARE(state.invalidChars, 0);

        QXmlStreamReader reader(bytes);
        QVERIFY(reader.readNextStartElement());
        QCOMPARE(reader.name().toString(), QStringLiteral("Total"));
        QMap<QString, QStringList> found;
        while (reader.readNextStartElement()) {
            const QString element = reader.name().toString();
            QVERIFY2(!found.contains(element), qPrintable(element));
            QStringList& children = found[element];
            while (reader.readNextStartElement()) {
                children << reader.name().toString();
                const QString text = reader.readElementText();
                QVERIFY2(!text.trimmed().isEmpty(), qPrintable(element + '/' + children.last()));
            }
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        for (const auto& window : WindowElements) {
            QVERIFY2(found.contains(window.first), qPrintable(window.first));
            for (const QString& child : window.second)
                QVERIFY2(found[window.first].contains(child), qPrintable(window.first + '/' + child));
        }
    }

    // Every file of the same element has the same children (a translation
    // misses no text).
    void languageFilesAgree()
    {
        auto children = [](int index) {
            QFile file(LanguageTexts::FileName(index));
            file.open(QIODevice::ReadOnly);
            QXmlStreamReader reader(&file);
            QStringList names;
            reader.readNextStartElement();
            while (reader.readNextStartElement()) {
                const QString element = reader.name().toString();
                while (reader.readNextStartElement()) {
                    names << element + '/' + reader.name().toString();
                    reader.skipCurrentElement();
                }
            }
            return names;
        };
        const QStringList english = children(0);
        for (int index = 1; index <= 5; ++index)
            QCOMPARE(children(index), english);
    }
};

TALVIRE_TEST_MAIN(TestLanguage)
#include "test_language.moc"
