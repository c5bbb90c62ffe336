#pragma once

// Helpers of the macro page tests: the page's widgets, its rows as short
// texts, macro files, and answers to the page's dialogs.
#include "core/MacroFile.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "core/StyleSheet.h"
#include "pages/macro/Macro.h"

#include "tests/common/ModalAnswer.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QtTest>

namespace MacroPageTesting {

inline QListWidget* Macros(Macro& page)
{
    return page.findChild<QListWidget*>(QStringLiteral("listWidgetHong"));
}

inline QListWidget* Rows(Macro& page)
{
    return page.findChild<QListWidget*>(QStringLiteral("listWidgetKey"));
}

template <class Widget = QAbstractButton>
Widget* Child(Macro& page, const char* name)
{
    return page.findChild<Widget*>(QLatin1String(name));
}

// The rows: a key row as its name with "+" (press) or "-" (release), a
// delay row as its text.
inline QStringList RowTexts(Macro& page)
{
    QStringList texts;
    QListWidget* rows = Rows(page);
    for (int row = 0; row < rows->count(); ++row) {
        const QListWidgetItem* item = rows->item(row);
        texts << (Macro::IsDelayRow(item) ? item->text()
                                          : item->text() + (item->type() == Macro::ReleaseRow ? "-" : "+"));
    }
    return texts;
}

inline QStringList MacroNames(Macro& page)
{
    QStringList names;
    for (int row = 0; row < Macros(page)->count(); ++row)
        names << Macros(page)->item(row)->text();
    return names;
}

inline QString FileOf(const QString& name)
{
    return MacroFile::PathOf(name);
}

inline QByteArray Content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool Put(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// Empties the macro folder and sets the stored language.
inline void Reset(int language = 0)
{
    QDir folder(MacroFile::Folder());
    folder.removeRecursively();
    QDir().mkpath(MacroFile::Folder());
    MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(language));
}

// Selects a macro as a click does.
inline void Select(Macro& page, const QString& name)
{
    QListWidget* list = Macros(page);
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    list->setCurrentItem(found.first());
    page.on_listWidgetHong_clicked(list->currentIndex());
}

// Answers the name prompt with a name ("" presses Cancel).
[[nodiscard]] inline ModalAnswer Name(const QString& name, const char* file = __builtin_FILE(),
                                      int line = __builtin_LINE())
{
    return ModalAnswer(
        [name](QWidget* dialog) {
            if (name.isEmpty()) {
                dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong_2"))->click();
                return;
            }
            dialog->findChild<QLineEdit*>(QStringLiteral("lineEdit"))->setText(name);
            dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
        },
        file, line);
}

// Answers a notice with OK, keeping the text it showed.
[[nodiscard]] inline ModalAnswer Notice(QString* text, const char* file = __builtin_FILE(),
                                        int line = __builtin_LINE())
{
    return ModalAnswer(
        [text](QWidget* dialog) {
            *text = dialog->findChild<QLabel*>(QStringLiteral("label"))->text();
            dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
        },
        file, line);
}

// The names and contents of the files of a folder (the macro folder when
// none is given), hidden ones included.
inline QStringList FolderState(const QString& path = MacroFile::Folder())
{
    QStringList state;
    const QDir folder(path);
    for (const QString& file : folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        state << file + QStringLiteral(": ") + QString::fromUtf8(Content(folder.filePath(file)));
    return state;
}

// A macro made through New.
inline void New(Macro& page, const QString& name)
{
    ModalAnswer answer = Name(name);
    page.on_NewHong_clicked();
}

// Shows the page on the frame's dark ground, for a screenshot.
inline void ShowOnDarkGround(Macro& page)
{
    page.setPalette(StyleSheet::DarkPalette());
    page.setAutoFillBackground(true);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page, DefaultTestLimit()));
}

// The languages of the screenshots: English and Chinese.
inline void ScreenshotLanguages()
{
    QTest::addColumn<int>("language");
    QTest::newRow("en") << 0;
    QTest::newRow("zh") << 1;
}

// The five-row fixture: A, 1ms, B, 2ms, C, all presses, in a new macro.
inline void FiveRows(Macro& page, const QString& name = QStringLiteral("fixture"))
{
    New(page, name);
    for (const char* key : {"A", "B", "C"}) {
        if (Rows(page)->count() > 0)
            page.AppendDelayRow(Rows(page)->count() == 1 ? 1 : 2);
        page.AppendKeyRow(QLatin1String(key), true);
    }
}

// Records the bus signals of the macro editor.
struct BusLog : QObject {
    QStringList signals_;
    BusLog()
    {
        PostMsg* bus = PostMsg::Instance();
        connect(bus, &PostMsg::SigDeleteMacroButton, this, [this](const QString& text) { signals_ << "delete " + text; });
        connect(bus, &PostMsg::SigMacroRename, this,
                [this](const QString& a, const QString& b) { signals_ << "rename " + a + " " + b; });
        connect(bus, &PostMsg::SigUpDataMacro, this,
                [this](const QString& name, int mode) { signals_ << QStringLiteral("update %1 %2").arg(name).arg(mode); });
        connect(bus, &PostMsg::SigAddMacroButton, this, [this] { signals_ << "add buttons"; });
        connect(bus, &PostMsg::SigStartRecord, this, [this](int state) { signals_ << QStringLiteral("record %1").arg(state); });
    }
};

} // namespace MacroPageTesting
