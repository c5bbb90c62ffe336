// The file chooser: the dialog it shows for opening and saving (caption,
// filter, start folder, the extension a typed name gets), cancelling, the
// folder each use remembers, and the hook that answers in place of a dialog;
// Qt's own dialogs in the program's theme, also under a page's style sheet.
#include "dialogs/FileChooser.h"
#include "dialogs/StandardDialogTheme.h"
#include "dialogs/StandardDialogTexts.h"
#include "platform/Registry.h"
#include "tests/common/ModalAnswer.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

using Use = FileChooser::Use;
Q_DECLARE_METATYPE(FileChooser::Use)

namespace {
const QString BinFilter = QStringLiteral("File(*.bin)");
const QString IniFilter = QStringLiteral("File(*.ini)");

// What the dialog looked like when it was answered.
struct Seen {
    bool shown = false;
    QString title;
    QString folder;
    QStringList filters;
    bool save = false;
};

// What is unreadable in a dialog: a text whose colour is too close to its
// ground, or a light field in the dark theme.
QStringList Unreadable(QWidget* dialog)
{
    QStringList problems;
    const auto contrast = [](const QColor& text, const QColor& ground) {
        return qAbs(text.lightness() - ground.lightness());
    };
    const QColor window = dialog->palette().color(QPalette::Window);
    if (window.lightness() > 60)
        problems << QStringLiteral("light window ") + window.name();
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const QColor text = label->palette().color(label->foregroundRole());
        if (contrast(text, window) < 120)
            problems << QStringLiteral("label \"%1\" %2 on %3").arg(label->text(), text.name(), window.name());
    }
    for (QWidget* field : dialog->findChildren<QWidget*>()) {
        if (!field->isVisible())
            continue;
        const bool list = qobject_cast<QAbstractItemView*>(field);
        if (!list && !qobject_cast<QLineEdit*>(field) && !qobject_cast<QComboBox*>(field))
            continue;
        const QColor base = field->palette().color(list ? QPalette::Base : field->backgroundRole());
        const QColor text = field->palette().color(list ? QPalette::Text : field->foregroundRole());
        // What the list draws where it shows no file: its ground.
        const QColor drawn = list ? static_cast<QAbstractItemView*>(field)->viewport()->grab().toImage().pixelColor(2, 2)
                                  : base;
        if (drawn.lightness() > 80 || contrast(text, base) < 120)
            problems << QStringLiteral("%1 %2: %3 on %4 (drawn %5)").arg(QLatin1String(field->metaObject()->className()),
                                                                        field->objectName(), text.name(), base.name(),
                                                                        drawn.name());
    }
    return problems;
}

bool Touch(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}
} // namespace

class FileChooserTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString Folder(const QString& name) const
    {
        const QString path = dir_.filePath(name);
        QDir().mkpath(path);
        return QDir(path).absolutePath();
    }

    // Answers the next file dialog: selects name (or cancels when name is
    // empty) and records what the dialog showed.
    [[nodiscard]] static ModalAnswer Answer(Seen* seen, const QString& name, const QString& screenshot = QString(),
                                            const char* file = __builtin_FILE(), int line = __builtin_LINE())
    {
        return ModalAnswer([seen, name, screenshot](QWidget* widget) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (!dialog) {
                widget->close();
                return;
            }
            seen->shown = true;
            seen->title = dialog->windowTitle();
            seen->folder = dialog->directory().absolutePath();
            seen->filters = dialog->nameFilters();
            seen->save = dialog->acceptMode() == QFileDialog::AcceptSave;
            if (!screenshot.isEmpty())
                SaveScreenshot(dialog, screenshot);
            if (name.isEmpty()) {
                dialog->reject();
                return;
            }
            // As a user does: the name in the name field, then Open or Save.
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            if (!field || !buttons) {
                dialog->reject();
                return;
            }
            field->setText(name);
            buttons->buttons().first()->click();
        }, file, line);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
    }

    void init()
    {
        for (const QString& use : {QStringLiteral("Configuration"), QStringLiteral("Macro")})
            Registry::Instance()->RemoveKey(Registry::LastFolderKey(use));
    }

    // The dialog each call shows, and what it answers: an existing file to
    // open; a name to save under, which gets the filter's extension when it
    // has none; a cancel, which answers "" and leaves the remembered folder.
    void dialog_data()
    {
        QTest::addColumn<Use>("use");
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("typed");      // "" cancels
        QTest::addColumn<QString>("expected");   // file name in the folder, "" for none

        QTest::newRow("open a configuration") << Use::Configuration << false << BinFilter << "old.bin" << "old.bin";
        QTest::newRow("save a configuration") << Use::Configuration << true << BinFilter << "mine" << "mine.bin";
        QTest::newRow("save with the extension typed") << Use::Configuration << true << BinFilter << "mine.bin"
                                                       << "mine.bin";
        QTest::newRow("save a macro") << Use::Macro << true << IniFilter << "macro" << "macro.ini";
        QTest::newRow("open a macro") << Use::Macro << false << IniFilter << "old.ini" << "old.ini";
        QTest::newRow("cancel opening") << Use::Configuration << false << BinFilter << "" << "";
        QTest::newRow("cancel saving") << Use::Macro << true << IniFilter << "" << "";
    }

    void dialog()
    {
        QFETCH(Use, use);
        QFETCH(bool, save);
        QFETCH(QString, filter);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        const QString folder = Folder(QStringLiteral("files"));
        QVERIFY(Touch(folder + QStringLiteral("/old.bin")));
        QVERIFY(Touch(folder + QStringLiteral("/old.ini")));
        // The dialog starts in the folder last used for this kind of file.
        FileChooser::SetNextAnswer(folder + QStringLiteral("/earlier"));
        QCOMPARE(FileChooser::OpenFile(nullptr, use, QString(), filter), folder + QStringLiteral("/earlier"));

        const QString caption = save ? QStringLiteral("FileSave") : QStringLiteral("SelectFile");
        Seen seen;
        const ModalAnswer answered = Answer(&seen, typed);
        const QString answer = save ? FileChooser::SaveFile(nullptr, use, caption, filter)
                                    : FileChooser::OpenFile(nullptr, use, caption, filter);

        QVERIFY(seen.shown);
        QCOMPARE(seen.title, caption);
        QCOMPARE(seen.folder, folder);
        QCOMPARE(seen.filters, QStringList{filter});
        QCOMPARE(seen.save, save);
        QCOMPARE(answer, expected.isEmpty() ? QString() : folder + QLatin1Char('/') + expected);
        QCOMPARE(FileChooser::StartFolder(use), folder);
        const FileChooser::Request request = FileChooser::LastRequest();
        QCOMPARE(request.save, save);
        QCOMPARE(request.caption, caption);
        QCOMPARE(request.folder, folder);
        QCOMPARE(request.filter, filter);
    }

    // Every use starts in the home folder until a file was chosen for it,
    // then in that file's folder; the uses do not share their folders, and a
    // folder that is gone sends the dialog home again.
    void folderPerUse()
    {
        const QString home = QDir::homePath();
        QCOMPARE(FileChooser::StartFolder(Use::Configuration), home);
        QCOMPARE(FileChooser::StartFolder(Use::Macro), home);

        const QString configurations = Folder(QStringLiteral("configurations"));
        const QString macros = Folder(QStringLiteral("macros"));
        FileChooser::SetNextAnswer(configurations + QStringLiteral("/a.bin"));
        FileChooser::SaveFile(nullptr, Use::Configuration, QStringLiteral("FileSave"), BinFilter);
        QCOMPARE(FileChooser::StartFolder(Use::Configuration), configurations);
        QCOMPARE(FileChooser::StartFolder(Use::Macro), home);

        FileChooser::SetNextAnswer(macros + QStringLiteral("/m.ini"));
        FileChooser::OpenFile(nullptr, Use::Macro, QStringLiteral("SelectFile"), IniFilter);
        QCOMPARE(FileChooser::StartFolder(Use::Configuration), configurations);
        QCOMPARE(FileChooser::StartFolder(Use::Macro), macros);

        // A cancelled choice keeps the folder.
        FileChooser::SetNextAnswer(QString());
        QCOMPARE(FileChooser::OpenFile(nullptr, Use::Macro, QStringLiteral("SelectFile"), IniFilter), QString());
        QCOMPARE(FileChooser::StartFolder(Use::Macro), macros);

        QVERIFY(QDir(macros).removeRecursively());
        QCOMPARE(FileChooser::StartFolder(Use::Macro), home);
        Seen seen;
        const ModalAnswer answered = Answer(&seen, QString());
        FileChooser::OpenFile(nullptr, Use::Macro, QStringLiteral("SelectFile"), IniFilter);
        QCOMPARE(seen.folder, home);
    }

    // Qt's file and colour dialogs open from a page whose style sheet would
    // paint them light and their labels dark; they keep the theme's dark
    // ground with light, readable texts, fields and lists.
    void qtDialogsInTheTheme_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("open a file") << "open";
        QTest::newRow("save a file") << "save";
        QTest::newRow("colour") << "colour";
    }

    void qtDialogsInTheTheme()
    {
        QFETCH(QString, dialog);
        QWidget page;
        page.setStyleSheet(QStringLiteral("QWidget{background-color: white;} QLabel{color: rgb(40, 44, 52);}"));
        page.resize(400, 300);
        page.show();
        QStringList problems;
        const QString shot = QStringLiteral("qt-dialog-") + dialog;
        if (dialog == QLatin1String("colour")) {
            QColorDialog colours(&page);
            colours.setOption(QColorDialog::DontUseNativeDialog);
            StandardDialogTheme::Apply(&colours);
            colours.show();
            QVERIFY(QTest::qWaitForWindowExposed(&colours, DefaultTestLimit()));
            problems = Unreadable(&colours);
            QVERIFY(!SaveScreenshot(&colours, shot).isEmpty());
        } else {
            const ModalAnswer answered([&](QWidget* shown) {
                problems = Unreadable(shown);
                SaveScreenshot(shown, shot);
                static_cast<QDialog*>(shown)->reject();
            });
            if (dialog == QLatin1String("save"))
                FileChooser::SaveFile(&page, Use::Configuration, QStringLiteral("FileSave"), BinFilter);
            else
                FileChooser::OpenFile(&page, Use::Macro, QStringLiteral("SelectFile"), IniFilter);
            QVERIFY(answered.Answered());
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    // Qt's dialogs speak the program's language, also one made before the
    // language changed, and back in English; the program's own windows are
    // not told (they would put back their forms' default texts).
    void qtDialogsInTheLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("English") << 0 << QStringLiteral("Cancel");
        QTest::newRow("Simplified Chinese") << 1 << QStringLiteral("取消");
        QTest::newRow("Traditional Chinese") << 2 << QStringLiteral("取消");
        QTest::newRow("Korean") << 3 << QStringLiteral("취소");
        QTest::newRow("Russian") << 4 << QStringLiteral("Отмена");
        QTest::newRow("Japanese") << 5 << QStringLiteral("キャンセル");
    }

    void qtDialogsInTheLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, cancel);
        // A window of the program's own, counting the language changes it hears of.
        struct OwnWindow : QWidget {
            int changes = 0;
            void changeEvent(QEvent* event) override
            {
                if (event->type() == QEvent::LanguageChange)
                    ++changes;
                QWidget::changeEvent(event);
            }
        } own;
        own.show();
        QColorDialog colours(&own);
        colours.setOption(QColorDialog::DontUseNativeDialog);
        const auto cancelOf = [](QWidget* dialog) {
            auto* box = dialog->findChild<QDialogButtonBox*>();
            QAbstractButton* button = box ? box->button(QDialogButtonBox::Cancel) : nullptr;
            return button ? button->text().remove(QLatin1Char('&')) : QString();
        };
        const auto restore = qScopeGuard([] { StandardDialogTexts::Load(0); });
        QVERIFY(StandardDialogTexts::Load(language));
        QCOMPARE(cancelOf(&colours), cancel);
        QString shown;
        const ModalAnswer answered([&](QWidget* dialog) {
            shown = cancelOf(dialog);
            static_cast<QDialog*>(dialog)->reject();
        });
        FileChooser::OpenFile(&own, Use::Macro, QStringLiteral("SelectFile"), IniFilter);
        QVERIFY(answered.Answered());
        QCOMPARE(shown, cancel);
        QVERIFY(StandardDialogTexts::Load(0));
        QCOMPARE(cancelOf(&colours), QStringLiteral("Cancel"));
        QCoreApplication::processEvents();
        QCOMPARE(own.changes, 0);
    }

    // The hook answers one call only; the call after it shows the dialog.
    void hookAnswersOnce()
    {
        const QString path = Folder(QStringLiteral("hook")) + QStringLiteral("/next.bin");
        FileChooser::SetNextAnswer(path);
        QCOMPARE(FileChooser::OpenFile(nullptr, Use::Configuration, QStringLiteral("SelectFile"), BinFilter), path);

        Seen seen;
        const ModalAnswer answered = Answer(&seen, QString(), QStringLiteral("file-chooser"));
        QCOMPARE(FileChooser::OpenFile(nullptr, Use::Configuration, QStringLiteral("SelectFile"), BinFilter),
                 QString());
        QVERIFY(seen.shown);
    }
};

TALVIRE_TEST_MAIN(FileChooserTest)
#include "test_file_chooser.moc"
