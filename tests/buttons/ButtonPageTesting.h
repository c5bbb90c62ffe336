#pragma once

// Helpers of the button page tests: the page on a simulated mouse picked
// through its worker, the page's widgets by name, and the stored records.
#include "core/LanguageTexts.h"
#include "core/MacroFile.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/buttons/DebounceTime.h"
#include "tests/common/PickedMouse.h"

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
    explicit Session(int language = 0)
    {
        ResetSharedState();
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
        return QTest::qWaitFor([this] { return ButtonPageFilled.load(); }, 5000);
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
