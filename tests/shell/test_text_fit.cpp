// Every text of every window built so far fits its box, in all six languages:
// a label's text (wrapped where the label wraps) within the label's contents,
// a button's caption within the button, the pairing instruction within its
// text field. The windows are built in each language and in the states that
// change their texts (offline or time-out notice, apply or import, the
// pairing captions).
#include "core/MacroIni.h"
#include "core/SharedState.h"
#include "dialogs/AddDelayTime.h"
#include "dialogs/ContainReset.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/FindNewVer.h"
#include "dialogs/FireKey.h"
#include "dialogs/GroupKey.h"
#include "dialogs/GroupMaxThree.h"
#include "dialogs/InportFail.h"
#include "dialogs/KeyNumberLimit.h"
#include "dialogs/LeftButtonOnly.h"
#include "dialogs/LessThree.h"
#include "dialogs/MakeMacro.h"
#include "dialogs/Match.h"
#include "dialogs/MouseOffLine.h"
#include "dialogs/Progress.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/QuestiondialogB.h"
#include "dialogs/RePair.h"
#include "dialogs/SameMacro.h"
#include "dialogs/UpDataParam.h"
#include "dialogs/UpDateRepair.h"
#include "dialogs/UpDateWarning.h"
#include "dialogs/addKey.h"
#include "shell/DialogMain.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QXmlStreamReader>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
using Make = std::function<QWidget*()>;

struct Window {
    QString name;
    Make make;
};

const char* const LanguageNames[] = {"English", "Simplified Chinese", "Traditional Chinese", "Korean", "Russian",
                                     "Japanese"};

// The macro editor's notice of a failed action.
QWidget* Failure(ExeIsRun::Failure failure)
{
    auto* notice = new ExeIsRun;
    notice->ShowFailure(failure);
    return notice;
}

// The windows and the states that change their texts.
QVector<Window> Windows()
{
    return {
        {"top window", [] { return new DialogMain; }},
        {"pairing", [] { return new Match; }},
        {"updating", [] { ImportActive = 0; return new UpDataParam; }},
        {"importing", [] { ImportActive = 1; return new UpDataParam; }},
        {"name entry", [] { auto* d = new QuestionDialog; d->ShowSecondText(false); return d; }},
        {"name change", [] { auto* d = new QuestionDialog; d->ShowSecondText(true); return d; }},
        {"identical devices", [] { return new QuestiondialogB; }},
        {"offline", [] { OfflineReason = 0; return new MouseOffLine; }},
        {"time-out", [] { OfflineReason = 1; return new MouseOffLine; }},
        {"left button", [] { return new LeftButtonOnly; }},
        {"make a macro", [] { return new MakeMacro; }},
        {"same macro", [] { return new SameMacro; }},
        {"three keys", [] { return new GroupMaxThree; }},
        {"restore", [] { return new ContainReset; }},
        {"key limit", [] { return new KeyNumberLimit; }},
        {"pair again", [] { return new RePair; }},
        {"delete", [] { return new DeleteConfirm; }},
        {"progress", [] { auto* d = new Progress; d->SlotProgress(100, 0); return d; }},
        {"running", [] { return new ExeIsRun; }},
        {"macro not saved", [] { return Failure(ExeIsRun::Failure::Save); }},
        {"macro not renamed", [] { return Failure(ExeIsRun::Failure::Rename); }},
        {"macro not deleted", [] { return Failure(ExeIsRun::Failure::Delete); }},
        {"macro not exported", [] { return Failure(ExeIsRun::Failure::Export); }},
        {"macro not imported", [] { return Failure(ExeIsRun::Failure::Import); }},
        {"macro name refused", [] { return Failure(ExeIsRun::Failure::Name); }},
        {"import unreadable", [] { ImportFileResult = 1; return new InportFail; }},
        {"import rejected", [] { ImportFileResult = 2; return new InportFail; }},
        {"export failed", [] { ImportFileResult = 0; auto* d = new InportFail; d->ShowExportFailText(); return d; }},
        {"new firmware", [] { return new FindNewVer; }},
        {"firmware notice", [] { return new UpDateWarning; }},
        {"update and repair", [] { auto* d = new UpDateRepair; d->ShowUpdateReady(); return d; }},
        {"short debounce", [] { return new LessThree; }},
        {"key combination", [] { return new GroupKey; }},
        {"rapid fire", [] { return new FireKey; }},
        {"delay", [] { return new AddDelayTime; }},
        {"macro key", [] { return new addKey; }},
    };
}

// The texts of one element's children in a language file.
QMap<QString, QString> ElementTexts(int language, const QString& element)
{
    QMap<QString, QString> texts;
    QFile file(LanguageTexts::FileName(language));
    if (!file.open(QIODevice::ReadOnly))
        return texts;
    QXmlStreamReader reader(&file);
    bool inside = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            if (reader.name() == element)
                inside = true;
            else if (inside)
                texts.insert(reader.name().toString(), reader.readElementText());
        } else if (reader.isEndElement() && reader.name() == element) {
            inside = false;
        }
    }
    return texts;
}

// What does not fit in one widget; "" when all fits.
QString LabelProblem(const QLabel* label)
{
    const QString text = label->text();
    // Texts of the languages, not values such as a battery level.
    if (!text.contains(QRegularExpression(QStringLiteral("\\p{L}"))) || Qt::mightBeRichText(text))
        return QString();
    const QRect box = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                     -label->margin());
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect needed = label->fontMetrics().boundingRect(box, flags, text);
    // One line is drawn centred: its leading may overhang; wrapped lines
    // must all be inside.
    const bool lines = needed.height() > label->fontMetrics().lineSpacing() * 3 / 2;
    if (needed.width() <= box.width() && (!lines || needed.height() <= box.height()))
        return QString();
    return QStringLiteral("%1 \"%2\" needs %3x%4 in %5x%6")
        .arg(label->objectName(), text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(box.width())
        .arg(box.height());
}

QString CaptionProblem(const QAbstractButton* button, const QString& text)
{
    if (text.isEmpty())
        return QString();
    int needed = button->fontMetrics().horizontalAdvance(text);
    if (qobject_cast<const QCheckBox*>(button))   // the indicator and its gap
        needed += button->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button)
            + button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
    if (needed <= button->width())
        return QString();
    return QStringLiteral("%1 \"%2\" needs %3 in %4").arg(button->objectName(), text).arg(needed).arg(button->width());
}

QString TextFieldProblem(const QTextEdit* field)
{
    if (field->toPlainText().isEmpty())
        return QString();
    QTextDocument document;
    document.setDefaultFont(field->font());
    document.setDocumentMargin(field->document()->documentMargin());
    document.setPlainText(field->toPlainText());
    document.setTextWidth(field->viewport()->width());
    const int needed = qCeil(document.size().height());
    if (needed <= field->viewport()->height())
        return QString();
    return QStringLiteral("%1 \"%2\" needs %3 in %4")
        .arg(field->objectName(), field->toPlainText())
        .arg(needed)
        .arg(field->viewport()->height());
}
} // namespace

class TextFitTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("0"));
        OfflineReason = 0;
        ImportActive = 0;
        ImportFileResult = 1;
    }

    void textsFitTheirBoxes_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("window");
        const QVector<Window> windows = Windows();
        for (int language = 0; language < 6; ++language) {
            for (int window = 0; window < windows.size(); ++window) {
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(LanguageNames[language]),
                                                                     windows.at(window).name)))
                    << language << window;
            }
        }
    }

    void textsFitTheirBoxes()
    {
        QFETCH(int, language);
        QFETCH(int, window);
        MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"),
                                       QString::number(language));
        std::unique_ptr<QWidget> widget(Windows().at(window).make());
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));

        QStringList problems;
        const QList<QLabel*> labels = widget->findChildren<QLabel*>();
        for (const QLabel* label : labels)
            problems << LabelProblem(label);
        const QList<QAbstractButton*> buttons = widget->findChildren<QAbstractButton*>();
        for (const QAbstractButton* button : buttons)
            problems << CaptionProblem(button, button->text());
        const QList<QTextEdit*> fields = widget->findChildren<QTextEdit*>();
        for (const QTextEdit* field : fields)
            problems << TextFieldProblem(field);
        // The pairing button's other captions.
        if (auto* match = qobject_cast<Match*>(widget.get())) {
            const QMap<QString, QString> texts = ElementTexts(language, QStringLiteral("Match"));
            auto* button = match->findChild<QAbstractButton*>(QStringLiteral("MatchButton"));
            QVERIFY(button);
            for (const char* caption : {"MatchButton", "Matching", "MatchFail", "MatchSuccess"})
                problems << CaptionProblem(button, texts.value(QLatin1String(caption)));
        }
        // The settings page's update notice with its longest own message.
        if (auto* notice = qobject_cast<UpDateWarning*>(widget.get())) {
            notice->SetText(ElementTexts(language, QStringLiteral("FormSetting")).value(QStringLiteral("RecordFail")));
            problems << LabelProblem(notice->findChild<QLabel*>(QStringLiteral("label")));
        }
        // The update and repair dialog's messages and button captions.
        if (auto* repair = qobject_cast<UpDateRepair*>(widget.get())) {
            const QMap<QString, QString> texts = ElementTexts(language, QStringLiteral("AutoRepair"));
            auto* message = repair->findChild<QLabel*>(QStringLiteral("ToolText_2"));
            QVERIFY(message);
            for (const char* key : {"ReadyUpdate", "UpdateNotMove", "UpdateSuccess", "UpdateFail", "NoDevice",
                                    "SameDevice", "NoRecieve", "NoUSB", "FileError", "MultiDongle", "MultiMouse",
                                    "RecordFail"}) {
                QVERIFY2(!texts.value(QLatin1String(key)).isEmpty(), key);
                message->setText(texts.value(QLatin1String(key)));
                problems << LabelProblem(message);
            }
            // The settings page's update puts its own messages there too.
            const QMap<QString, QString> page = ElementTexts(language, QStringLiteral("FormSetting"));
            QVERIFY(!page.value(QStringLiteral("RecordFail")).isEmpty());
            message->setText(page.value(QStringLiteral("RecordFail")));
            problems << LabelProblem(message);
            auto* start = repair->findChild<QAbstractButton*>(QStringLiteral("NewHong_2"));
            for (const char* caption : {"NewHong_2", "Confirm"})
                problems << CaptionProblem(start, texts.value(QLatin1String(caption)));
        }
        problems.removeAll(QString());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("\n"))));
    }
};

TALVIRE_TEST_MAIN(TextFitTest)
#include "test_text_fit.moc"
