#pragma once

// Helpers of the button page tests: the page on a simulated mouse picked
// through its worker, the page's widgets by name, and the stored records.
#include "core/LanguageTexts.h"
#include "core/MacroFile.h"
#include "core/StyleSheet.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/buttons/DebounceTime.h"
#include "tests/common/PickedMouse.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

namespace ButtonPageTesting {

// The page (which makes the worker) and the default mouse, picked once the
// page exists, so the page shows the mouse's configuration. The mouse goes
// first, the page with its worker after it.
struct Session {
    // scenario: the simulated devices (the default ones when none).
    explicit Session(int language = 0, const char* scenario = nullptr)
    {
        ResetSharedState();
        if (scenario)
            SimDevice_LoadScenario(scenario);
        else
            SimDevice_Reset();
        QDir(MacroFile::Folder()).removeRecursively();
        QDir().mkpath(MacroFile::Folder());
        LanguageTexts::Choose(language);
        page = std::make_unique<Buttoninterface>();
        page->resize(883, 630);
    }
    bool Open()
    {
        if (!mouse.Open())
            return false;
        // The refresh runs on the GUI thread after the read.
        return QTest::qWaitFor([] { return ButtonPageFilled.load(); }, TestLimit(5000));
    }
    std::unique_ptr<Buttoninterface> page;
    PickedMouse mouse;

    ~Session() { page.reset(); }
};

template <class Widget = QToolButton>
Widget* Child(Buttoninterface& page, const char* name)
{
    Widget* widget = page.findChild<Widget*>(QLatin1String(name));
    if (!widget)
        qWarning("no widget %s", name);
    return widget;
}

inline QString Current(Buttoninterface& page, const char* stack)
{
    return Child<QStackedWidget>(page, stack)->currentWidget()->objectName();
}

inline int ScrollOf(Buttoninterface& page, const char* area)
{
    return Child<QScrollArea>(page, area)->verticalScrollBar()->value();
}

// The macro list's button of a macro.
inline QToolButton* MacroButton(Buttoninterface& page, const QString& name)
{
    for (QToolButton* button : page.MacroButtons()) {
        if (button->text() == name)
            return button;
    }
    qWarning("no macro button %s", qPrintable(name));
    return nullptr;
}

// Clicks a button of the modal dialog of a class once it is shown (over
// other modal dialogs); tells afterwards whether it came.
class ClickWhenShown : public QObject {
public:
    ClickWhenShown(const char* dialogClass, const QString& button)
        : dialogClass_(dialogClass)
        , button_(button)
    {
        startTimer(20);
    }
    bool Clicked() const { return clicked_; }

protected:
    void timerEvent(QTimerEvent*) override
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (clicked_ || !modal || !modal->inherits(dialogClass_))
            return;
        if (auto* button = modal->findChild<QAbstractButton*>(button_)) {
            clicked_ = true;
            button->click();
        }
    }

private:
    const char* dialogClass_;
    QString button_;
    bool clicked_ = false;
};

// The two languages of the screenshots.
inline void ScreenshotLanguages()
{
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 0;
    QTest::newRow("Chinese") << 1;
}

// Shows the page on the frame's dark ground, as the program does.
inline void ShowOnDarkGround(Buttoninterface& page)
{
    page.setPalette(StyleSheet::DarkPalette());
    page.setAutoFillBackground(true);
    page.show();
}

// Saves <base>_en or <base>_zh.
inline bool Screenshot(Buttoninterface& page, const QString& base, int language)
{
    return !SaveScreenshot(&page, base + (language == 0 ? QStringLiteral("_en") : QStringLiteral("_zh"))).isEmpty();
}

inline QComboBox* DebounceList(Buttoninterface& page)
{
    return Child<DebounceTime>(page, "DebunceButton")->findChild<QComboBox*>(QStringLiteral("Debunce"));
}

// Bytes of an image as upper-case hex pairs without separators.
inline QByteArray Hex(const void* data, int size)
{
    return QByteArray(static_cast<const char*>(data), size).toHex().toUpper();
}

inline QByteArray FunctionHex(const FlashDataMap& image, int button)
{
    return Hex(&image.buttons[button], sizeof(ButtonFunction));
}

inline QByteArray KeyRecordHex(const FlashDataMap& image, int button)
{
    return Hex(&image.keys[button], sizeof(KeyRecord));
}

// A key record written as its events: "count|flag kind code delay|...",
// padded with zero bytes.
inline QByteArray RecordHex(const QByteArray& spaced)
{
    QByteArray hex = QByteArray(spaced).replace(' ', "").replace('|', "").toUpper();
    hex.append(QByteArray(2 * int(sizeof(KeyRecord)) - hex.size(), '0'));
    return hex;
}

} // namespace ButtonPageTesting
