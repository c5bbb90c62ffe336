// The small modal dialogs: texts per language, answers, keys, the offline
// notice, the name entry limit, the progress dialog, pictures and screenshots.
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "dialogs/ContainReset.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/FindNewVer.h"
#include "dialogs/GroupMaxThree.h"
#include "dialogs/InportFail.h"
#include "dialogs/KeyNumberLimit.h"
#include "dialogs/LeftButtonOnly.h"
#include "dialogs/LessThree.h"
#include "dialogs/MakeMacro.h"
#include "dialogs/MouseOffLine.h"
#include "dialogs/Progress.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/QuestiondialogB.h"
#include "dialogs/RePair.h"
#include "dialogs/SameMacro.h"
#include "dialogs/UpDateWarning.h"

#include "tests/common/ModalAnswer.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSignalSpy>

#include <functional>
#include <memory>

namespace {
using Factory = std::function<MessageDialog*()>;

struct Member {
    const char* name;
    Factory make;
};

// Every member of the family, built with the language stored in Macro.ini.
const QVector<Member>& Members()
{
    static const QVector<Member> members = {
        {"QuestionDialog", [] { auto* d = new QuestionDialog; d->ShowSecondText(false); return d; }},
        {"QuestiondialogB", [] { return new QuestiondialogB; }},
        {"MouseOffLine", [] { return new MouseOffLine; }},
        {"LeftButtonOnly", [] { return new LeftButtonOnly; }},
        {"MakeMacro", [] { return new MakeMacro; }},
        {"SameMacro", [] { return new SameMacro; }},
        {"GroupMaxThree", [] { return new GroupMaxThree; }},
        {"ContainReset", [] { return new ContainReset; }},
        {"KeyNumberLimit", [] { return new KeyNumberLimit; }},
        {"RePair", [] { return new RePair; }},
        {"DeleteConfirm", [] { return new DeleteConfirm; }},
        {"Progress", [] { auto* d = new Progress; d->SlotProgress(42, 0); return d; }},
        {"ExeIsRun", [] { return new ExeIsRun; }},
        {"InportFail", [] { return new InportFail; }},
        {"FindNewVer", [] { return new FindNewVer; }},
        {"UpDateWarning", [] { auto* d = new UpDateWarning;
             if (!WiredModeText.isEmpty())
                 d->SetText(WiredModeText);
             return d; }},
        {"LessThree", [] { return new LessThree; }},
    };
    return members;
}

// The short name of a language in screenshot names.
QString LanguageTag(int index)
{
    static const char* const tags[] = {"en", "zh", "tw", "ko", "ru", "ja"};
    return QString::fromLatin1(tags[qBound(0, index, 5)]);
}

void SetLanguage(int index)
{
    MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
}

QString LabelText(QWidget* dialog)
{
    return dialog->findChild<QLabel*>(QStringLiteral("label"))->text();
}

// Runs the dialog and answers it with a button name, "Escape", "Return" or
// the keypad's "Enter".
void AnswerAndRun(QDialog* dialog, const QString& how, int member)
{
    ModalAnswer answer = how == QLatin1String("Escape") ? ModalAnswer::Key(Qt::Key_Escape)
        : how == QLatin1String("Return")                 ? ModalAnswer::Key(Qt::Key_Return)
        : how == QLatin1String("Enter")                  ? ModalAnswer::Key(Qt::Key_Enter)
                                                         : ModalAnswer::Click(how);
    dialog->exec();
    QCOMPARE(answer.DialogClass(), QString::fromLatin1(Members().at(member).name));
}

QString ButtonText(QWidget* dialog, const char* name)
{
    return dialog->findChild<QAbstractButton*>(QLatin1String(name))->text();
}
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        SetLanguage(0);
        OfflineReason = 0;
        ImportFileResult = 1;
        FirmwareUpdateRunning = false;
    }

    // Each member in English and in Simplified Chinese: the label and the
    // confirm buttons take the texts of the language file.
    void texts_data()
    {
        QTest::addColumn<int>("member");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("button");   // "name=text"
        const QString ok = QString::fromUtf8("确定");
        struct Row { int member; QString en, zh, button, enButton, zhButton; };
        const QVector<Row> rows = {
            {0, "Please enter a name for the new macro", QString::fromUtf8("请输入新宏的名称"), "NewHong_2", "Cancel", QString::fromUtf8("取消")},
            {1, "Please do not connect several identical devices", QString::fromUtf8("请勿插入多个相同的设备"), "", "", ""},
            {2, "The mouse is offline. Move it to wake it up", QString::fromUtf8("鼠标已离线,请先移动鼠标"), "NewHong", "OK", ok},
            {3, "The left button must keep its left-click function", QString::fromUtf8("必须保留一个左键功能"), "", "", ""},
            {4, "Please create a macro first", QString::fromUtf8("请先创建宏"), "NewHong", "OK", ok},
            {5, "A macro with this name already exists", QString::fromUtf8("已存在同名的宏"), "NewHong", "OK", ok},
            {6, "A key combination can have at most three keys", QString::fromUtf8("组合键最多只能有三个按键"), "NewHong", "OK", ok},
            {7, "Restore the default settings?", QString::fromUtf8("是否恢复默认设置?"), "Cancel", "Cancel", QString::fromUtf8("取消")},
            {8, "The macro has reached its maximum number of keys", QString::fromUtf8("宏按键数量已达上限"), "NewHong", "OK", ok},
            {9, "Do you want to pair again?", QString::fromUtf8("是否需要重新配对?"), "OK", "OK", ok},
            {10, "Delete?", QString::fromUtf8("确认删除?"), "NewHong", "OK", ok},
            {11, "Updating, do not unplug the device: 42%", QString::fromUtf8("正在更新,请勿拔出设备: 42%"), "NewHong", "OK", ok},
            {12, "The program is already running", QString::fromUtf8("程序已在运行"), "NewHong", "OK", ok},
            {13, "The file cannot be opened or is not a configuration file", QString::fromUtf8("无法打开文件,或不是配置文件"), "NewHong", "OK", ok},
            {14, "New firmware is available. Please update.", QString::fromUtf8("发现新固件,请更新!"), "NoApear", "Do not show again", QString::fromUtf8("下次不再显示")},
            {15, "Confirm Delete", "Confirm Delete", "NewHong", "OK", ok},
            {16, "A debounce time of 7 ms or less may turn a single click into a double click",
             QString::fromUtf8("防抖时间为7毫秒或更短时,单击可能被识别为双击"), "NewHong", "OK", ok},
        };
        for (const Row& row : rows) {
            const char* name = Members().at(row.member).name;
            QTest::newRow(qPrintable(QString::fromLatin1(name) + " en"))
                << row.member << 0 << row.en << (row.button.isEmpty() ? QString() : row.button + '=' + row.enButton);
            QTest::newRow(qPrintable(QString::fromLatin1(name) + " zh"))
                << row.member << 1 << row.zh << (row.button.isEmpty() ? QString() : row.button + '=' + row.zhButton);
        }
    }
    void texts()
    {
        QFETCH(int, member);
        QFETCH(int, language);
        QFETCH(QString, label);
        QFETCH(QString, button);
        SetLanguage(language);
        std::unique_ptr<MessageDialog> dialog(Members().at(member).make());
        QCOMPARE(dialog->objectName(), QString::fromLatin1(Members().at(member).name));
        QCOMPARE(LabelText(dialog.get()), label);
        if (!button.isEmpty())
            QCOMPARE(ButtonText(dialog.get(), qPrintable(button.section('=', 0, 0))), button.section('=', 1));
        QCOMPARE(dialog->size(), QSize(300, 140));
        // Qt adds Qt::Window to a window without a parent.
        QCOMPARE(int(dialog->windowFlags() & ~Qt::Window), 0x6C12);
    }

    // A language change while a dialog exists reloads its texts; the index
    // is stored first, so a window built later reads it.
    void followsLanguageChange()
    {
        MakeMacro dialog;
        QCOMPARE(ButtonText(&dialog, "NewHong"), QStringLiteral("OK"));
        QString storedWhenSent;
        auto connection = connect(PostMsg::Instance(), &PostMsg::SigChangeLanguage, this, [&] {
            storedWhenSent = MacroIni::Instance()->GetValue("Language", "Language");
        });
        LanguageTexts::Choose(3);
        disconnect(connection);
        QCOMPARE(storedWhenSent, QStringLiteral("3"));
        QCOMPARE(LanguageTexts::StoredIndex(), 3);
        QCOMPARE(LabelText(&dialog), QString::fromUtf8("먼저 매크로를 만드세요"));
        QCOMPARE(ButtonText(&dialog, "NewHong"), QString::fromUtf8("확인"));
        PostMsg::Instance()->PostChangeLanguage(7);
        QCOMPARE(LabelText(&dialog), QStringLiteral("Please create a macro first"));
    }

    // The answer of the asking members after each way of closing them.
    void answers_data()
    {
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("how");   // a button name, or "Escape" / "Return"
        QTest::addColumn<bool>("confirmed");
        const int contain = 7, repair = 9, remove = 10;
        QTest::newRow("ContainReset OK") << contain << "OK" << true;
        QTest::newRow("ContainReset Cancel") << contain << "Cancel" << false;
        QTest::newRow("ContainReset Close") << contain << "CloseButton" << false;
        QTest::newRow("ContainReset Escape") << contain << "Escape" << false;
        QTest::newRow("ContainReset Return") << contain << "Return" << true;
        QTest::newRow("RePair OK") << repair << "OK" << true;
        QTest::newRow("RePair Cancel") << repair << "Cancel" << false;
        QTest::newRow("RePair Close") << repair << "CloseButton" << false;
        QTest::newRow("RePair Escape") << repair << "Escape" << false;
        QTest::newRow("DeleteConfirm NewHong") << remove << "NewHong" << true;
        QTest::newRow("DeleteConfirm Close") << remove << "CloseButton" << false;
        QTest::newRow("DeleteConfirm Escape") << remove << "Escape" << false;
    }
    void answers()
    {
        QFETCH(int, member);
        QFETCH(QString, how);
        QFETCH(bool, confirmed);
        std::unique_ptr<MessageDialog> dialog(Members().at(member).make());
        auto* question = dynamic_cast<MessageQuestion*>(dialog.get());
        QVERIFY(question);
        QCOMPARE(question->Confirmed, false);
        AnswerAndRun(dialog.get(), how, member);
        QCOMPARE(question->Confirmed, confirmed);
        QVERIFY(!dialog->isVisible());
    }

    // Return does nothing where no button has it as shortcut; Escape then
    // closes with the answer unchanged.
    void returnWithoutShortcutDoesNothing_data()
    {
        QTest::addColumn<int>("member");
        QTest::newRow("RePair") << 9;
        QTest::newRow("DeleteConfirm") << 10;
        QTest::newRow("MakeMacro") << 4;
    }
    void returnWithoutShortcutDoesNothing()
    {
        QFETCH(int, member);
        std::unique_ptr<MessageDialog> dialog(Members().at(member).make());
        bool stillOpen = false;
        ModalAnswer answer([&](QWidget* modal) {
            QWidget* target = modal->focusWidget() ? modal->focusWidget() : modal;
            QTest::keyClick(target, Qt::Key_Return);
            QTest::keyClick(target, Qt::Key_Enter);
            stillOpen = modal->isVisible();
            QTest::keyClick(target, Qt::Key_Escape);
        });
        dialog->exec();
        QVERIFY(stillOpen);
        QVERIFY(!dialog->isVisible());
        if (auto* question = dynamic_cast<MessageQuestion*>(dialog.get()))
            QCOMPARE(question->Confirmed, false);
    }

    // Notices close the same way on their confirm and close buttons; Return
    // confirms UpDateWarning.
    void noticesClose_data()
    {
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("how");
        for (int member : {2, 4, 5, 6, 8, 12, 13, 14, 15, 16}) {
            QTest::newRow(qPrintable(QString::fromLatin1(Members().at(member).name) + " NewHong")) << member << "NewHong";
            QTest::newRow(qPrintable(QString::fromLatin1(Members().at(member).name) + " Close")) << member << "CloseButton";
        }
        QTest::newRow("QuestiondialogB Close") << 1 << "CloseButton";
        QTest::newRow("LeftButtonOnly Escape") << 3 << "Escape";
        QTest::newRow("UpDateWarning Return") << 15 << "Return";
        QTest::newRow("ExeIsRun Return") << 12 << "Return";
        QTest::newRow("ExeIsRun Enter") << 12 << "Enter";
    }
    void noticesClose()
    {
        QFETCH(int, member);
        QFETCH(QString, how);
        std::unique_ptr<MessageDialog> dialog(Members().at(member).make());
        AnswerAndRun(dialog.get(), how, member);
        QVERIFY(!dialog->isVisible());
    }

    void offlineNoticeByReason_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("label");
        QTest::newRow("offline en") << 0 << 0 << "The mouse is offline. Move it to wake it up";
        QTest::newRow("time-out en") << 1 << 0 << "The device did not answer in time. Please try again";
        QTest::newRow("offline zh") << 0 << 1 << QString::fromUtf8("鼠标已离线,请先移动鼠标");
        QTest::newRow("time-out zh") << 1 << 1 << QString::fromUtf8("设备响应超时,请重试");
        QTest::newRow("other reason keeps the form text") << 5 << 1 << "   The mouse is offline. Please move first";
    }
    void offlineNoticeByReason()
    {
        QFETCH(int, reason);
        QFETCH(int, language);
        QFETCH(QString, label);
        OfflineReason = reason;
        SetLanguage(language);
        MouseOffLine dialog;
        QCOMPARE(LabelText(&dialog), label);
        QVERIFY(dialog.findChild<QAbstractButton*>("NewHong")->styleSheet().contains("ConFirm.png"));
    }

    void offlineNoticeClosesWhenDeviceIsBack()
    {
        MouseOffLine dialog;
        ModalAnswer answer([](QWidget*) { PostMsg::Instance()->PostCloseOffOnline(); });
        dialog.exec();
        QCOMPARE(answer.DialogClass(), QStringLiteral("MouseOffLine"));
        QVERIFY(!dialog.isVisible());
    }

    void importFailureByResult_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("label");
        QTest::newRow("cannot open") << 1 << "The file cannot be opened or is not a configuration file";
        QTest::newRow("rejected") << 2 << "The configuration does not match the device";
        QTest::newRow("other keeps the form text") << 0 << "Config does not match the device";
    }
    void importFailureByResult()
    {
        QFETCH(int, result);
        QFETCH(QString, label);
        ImportFileResult = result;
        InportFail dialog;
        QCOMPARE(LabelText(&dialog), label);
    }

    void keptTexts()
    {
        ExeIsRun running;
        QCOMPARE(LabelText(&running), QStringLiteral("The program is already running"));
        running.ShowSecondText();
        QCOMPARE(LabelText(&running), QStringLiteral("Please select a macro first"));
        running.ShowPleaseStopText();
        QCOMPARE(LabelText(&running), QStringLiteral("Please stop the recording first"));
        running.ShowFailure(ExeIsRun::Failure::Name);
        QCOMPARE(LabelText(&running), QStringLiteral("This name cannot be used for a macro"));

        SameMacro same;
        same.SetText(QStringLiteral("ignored"));
        QCOMPARE(LabelText(&same), QStringLiteral("A debounce time this short may cause double clicks"));

        ContainReset reset;
        reset.SetText(QStringLiteral("Update the receiver?"));
        QCOMPARE(LabelText(&reset), QStringLiteral("Update the receiver?"));
    }

    // The settings page keeps one UpDateWarning and shows it without waiting;
    // it follows language changes while it lives.
    void keptWarningShownWithoutWaiting()
    {
        UpDateWarning warning;
        warning.SetText(QStringLiteral("No device"));
        warning.setModal(true);
        warning.show();
        QVERIFY(warning.isVisible());
        QCOMPARE(QApplication::activeModalWidget(), &warning);
        PostMsg::Instance()->PostChangeLanguage(1);
        QCOMPARE(ButtonText(&warning, "NewHong"), QString::fromUtf8("确定"));
        QCOMPARE(LabelText(&warning), QStringLiteral("No device"));
        // Return still confirms after the language change replaced the text.
        QApplication::setActiveWindow(&warning);
        QTest::keyClick(&warning, Qt::Key_Return);
        TRY_VERIFY(!warning.isVisible());
    }

    // The name limit: at most 30 bytes of the local 8-bit encoding (UTF-8
    // here), and a blank at the end removes every blank.
    void nameLimit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        const QString thirty(30, QLatin1Char('a'));
        const QString han = QString::fromUtf8("宏");   // 3 bytes
        const QString pair = QString::fromUtf8("😀");  // 4 bytes, two code units
        QTest::newRow("short") << "Macro 1" << "Macro 1";
        QTest::newRow("thirty letters") << thirty << thirty;
        QTest::newRow("31st letter cut") << thirty + 'b' << thirty;
        QTest::newRow("pasted long text") << QString(50, 'x') << QString(30, 'x');
        QTest::newRow("blank inside stays") << "my macro" << "my macro";
        QTest::newRow("blank at the end removes every blank") << "my big macro " << "mybigmacro";
        QTest::newRow("ten Han characters fit") << han.repeated(10) << han.repeated(10);
        QTest::newRow("eleventh Han character cut") << han.repeated(11) << han.repeated(10);
        QTest::newRow("mixed keeps the longest prefix") << "ab" + han.repeated(10) << "ab" + han.repeated(9);
        QTest::newRow("pairs are not split") << "a" + pair.repeated(8) << "a" + pair.repeated(7);
        QTest::newRow("many pairs keep a prefix") << pair.repeated(40) << pair.repeated(7);
        QTest::newRow("blank rule before the cut") << QString(20, 'a') + " " + QString(20, 'b') + " "
                                                   << QString(20, 'a') + QString(10, 'b');
    }
    void nameLimit()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(QuestionDialog::LimitName(typed), kept);
        QVERIFY(kept.toLocal8Bit().size() <= QuestionDialog::MaxNameBytes);
    }

    // Typing goes through the limit, and the answer is the field's text.
    void nameEntry_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("result");
        QTest::newRow("OK") << "NewHong" << QString(30, 'k');
        QTest::newRow("Cancel") << "NewHong_2" << "";
        QTest::newRow("Close") << "CloseButton" << "";
        QTest::newRow("Escape") << "Escape" << "";
        QTest::newRow("Return") << "Return" << QString(30, 'k');
        QTest::newRow("Enter") << "Enter" << QString(30, 'k');
    }
    void nameEntry()
    {
        QFETCH(QString, button);
        QFETCH(QString, result);
        QuestionDialog dialog;
        dialog.ShowSecondText(true);
        QCOMPARE(LabelText(&dialog), QStringLiteral("Please enter the new name of the macro"));
        auto* edit = dialog.findChild<QLineEdit*>("lineEdit");
        ModalAnswer answer([&](QWidget* modal) {
            // Typing goes to the name field as soon as the dialog shows.
            QCOMPARE(modal->focusWidget(), static_cast<QWidget*>(edit));
            QTest::keyClicks(modal->focusWidget(), QString(35, 'k'));
            QCOMPARE(edit->text(), QString(30, 'k'));
            QCOMPARE(edit->cursorPosition(), 30);
            if (button == QLatin1String("Escape"))
                QTest::keyClick(edit, Qt::Key_Escape);
            else if (button == QLatin1String("Return"))
                QTest::keyClick(edit, Qt::Key_Return);
            else if (button == QLatin1String("Enter"))
                QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
            else
                dialog.findChild<QAbstractButton*>(button)->click();
        });
        dialog.exec();
        QCOMPARE(dialog.ResultText, result);
    }

    void progressKinds_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("buttonShown");
        const QString line = QStringLiteral("Updating, do not unplug the device: ");
        QTest::newRow("progress 50") << 50 << 0 << 50 << line + "50%" << false;
        QTest::newRow("progress out of range") << 150 << 0 << 0 << line + "150%" << false;
        QTest::newRow("failure") << 30 << 1 << 30 << "Update failed" << true;
        QTest::newRow("success") << 37 << 2 << 100 << "Update succeeded" << true;
        QTest::newRow("hide button") << 60 << 3 << 60 << line + "1%" << false;
        QTest::newRow("reset") << 60 << 4 << 0 << line + "0%" << false;
        QTest::newRow("other kind moves only the bar") << 20 << 9 << 20 << line + "1%" << false;
    }
    void progressKinds()
    {
        QFETCH(int, value);
        QFETCH(int, kind);
        QFETCH(int, bar);
        QFETCH(QString, label);
        QFETCH(bool, buttonShown);
        Progress dialog;
        dialog.show();
        QCOMPARE(dialog.findChild<QProgressBar*>()->value(), 0);
        dialog.SlotProgress(value, kind);
        QCOMPARE(dialog.findChild<QProgressBar*>()->value(), bar);
        QCOMPARE(LabelText(&dialog), label);
        QCOMPARE(dialog.findChild<QAbstractButton*>("NewHong")->isVisible(), buttonShown);
    }

    // Closing after a result: a failure goes back to the chooser, anything
    // else resets the dialog and lets the update go on. The outcome is kept,
    // so equal or empty texts and a language change do not confuse the two.
    void progressClose_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("language");   // changed after the result is shown
        QTest::addColumn<bool>("toChooser");
        QTest::newRow("failure, confirm") << 1 << "NewHong" << 0 << true;
        QTest::newRow("failure, close") << 1 << "CloseButton" << 0 << true;
        QTest::newRow("failure, language changed") << 1 << "NewHong" << 1 << true;
        QTest::newRow("success, close") << 2 << "CloseButton" << 0 << false;
        QTest::newRow("success, Return") << 2 << "Return" << 0 << false;
        QTest::newRow("success, no language file texts") << 2 << "NewHong" << 9 << false;
    }
    void progressClose()
    {
        QFETCH(int, kind);
        QFETCH(QString, button);
        QFETCH(int, language);
        QFETCH(bool, toChooser);
        Progress dialog;
        QSignalSpy chooser(PostMsg::Instance(), &PostMsg::SigChangeMainDialog);
        QSignalSpy proceed(PostMsg::Instance(), &PostMsg::SigContinue);
        ModalAnswer answer([&](QWidget*) {
            dialog.SlotProgress(80, kind);
            PostMsg::Instance()->PostChangeLanguage(language);
            if (button == QLatin1String("Return"))
                QTest::keyClick(&dialog, Qt::Key_Return);
            else
                dialog.findChild<QAbstractButton*>(button)->click();
        });
        dialog.exec();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(chooser.count(), toChooser ? 1 : 0);
        QCOMPARE(proceed.count(), toChooser ? 0 : 1);
        if (!toChooser) {
            QCOMPARE(dialog.findChild<QProgressBar*>()->value(), 0);
            QVERIFY(LabelText(&dialog).endsWith(QStringLiteral(": 0%")));
        }
    }

    void progressIgnoresCloseWhileUpdating()
    {
        Progress dialog;
        dialog.show();
        FirmwareUpdateRunning = true;
        QSignalSpy proceed(PostMsg::Instance(), &PostMsg::SigContinue);
        dialog.findChild<QAbstractButton*>("CloseButton")->click();
        PostMsg::Instance()->PostCloseProgress();
        QVERIFY(dialog.isVisible());
        FirmwareUpdateRunning = false;
        dialog.SlotProgress(55, 0);
        PostMsg::Instance()->PostCloseProgress();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.findChild<QProgressBar*>()->value(), 0);
        QCOMPARE(proceed.count(), 0);
    }

    void colourFallback_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("colour");
        QTest::newRow("three") << QStringList{"25", " 195", " 162"} << "25,195,162";
        QTest::newRow("more than three") << QStringList{"1", "2", "3", "4"} << "1,2,3";
        QTest::newRow("two") << QStringList{"1", "2"} << StyleSheet::DefaultColour();
        QTest::newRow("none") << QStringList{} << StyleSheet::DefaultColour();
        QTest::newRow("not a number") << QStringList{"a", "2", "3"} << StyleSheet::DefaultColour();
        QTest::newRow("out of range") << QStringList{"300", "2", "3"} << StyleSheet::DefaultColour();
    }
    void colourFallback()
    {
        QFETCH(QStringList, items);
        QFETCH(QString, colour);
        QCOMPARE(StyleSheet::ColourText(items), colour);
    }

    // Every picture the dialogs' style sheets name exists beside the program,
    // and each background rule applies to its frame only.
    void picturesExist()
    {
        const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
        int checked = 0;
        for (const Member& member : Members()) {
            std::unique_ptr<MessageDialog> dialog(member.make());
            const QList<QWidget*> widgets = dialog->findChildren<QWidget*>();
            for (QWidget* widget : widgets) {
                auto matches = url.globalMatch(widget->styleSheet());
                while (matches.hasNext()) {
                    const QString file = matches.next().captured(1);
                    QVERIFY2(QFileInfo(file).isFile(), qPrintable(QString::fromLatin1(member.name) + ": " + file));
                    ++checked;
                }
                if (qobject_cast<QFrame*>(widget) && widget->styleSheet().contains(QLatin1String("BackGround.png")))
                    QVERIFY(widget->styleSheet().startsWith('#' + widget->objectName() + '{'));
            }
        }
        QVERIFY(checked > 60);
    }

    // Placement: centred over the owner, integer halves, plus the offsets.
    void placement()
    {
        QWidget owner;
        owner.setGeometry(100, 50, 1021, 701);
        MakeMacro dialog;
        dialog.CentreOver(&owner, -50, -70);
        QCOMPARE(dialog.pos(), QPoint(100 + (1021 - 300) / 2 - 50, 50 + (701 - 140) / 2 - 70));
    }

    void screenshots_data()
    {
        QTest::addColumn<int>("member");
        QTest::addColumn<int>("language");
        for (int member = 0; member < Members().size(); ++member) {
            for (int language : {0, 1, 4, 5}) {
                QTest::newRow(qPrintable(QStringLiteral("%1-%2").arg(Members().at(member).name, LanguageTag(language))))
                    << member << language;
            }
        }
    }
    void screenshots()
    {
        QFETCH(int, member);
        QFETCH(int, language);
        SetLanguage(language);
        WiredModeText = language ? QString::fromUtf8("请切换到无线模式后再更新") : QStringLiteral("Switch to wireless mode to update");
        std::unique_ptr<MessageDialog> dialog(Members().at(member).make());
        if (auto* name = dialog->findChild<QLineEdit*>("lineEdit"))
            name->setText(language ? QString::fromUtf8("宏一") : QStringLiteral("Macro 1"));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get(), DefaultTestLimit()));
        QVERIFY(!SaveScreenshot(dialog.get(), QStringLiteral("dialog-%1-%2").arg(Members().at(member).name, LanguageTag(language))).isEmpty());
        dialog->close();
    }
};

TALVIRE_TEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
