#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWindow>

// Key events as the window system hands them to a window of the program: to the
// window, which passes them on to its focus widget. scanCode is the X keycode
// (Linux input code + 8), 0 for an event without one.
struct KeyInput {
    static void Send(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     quint32 scanCode = 0, bool autoRepeat = false)
    {
        QString text;
        if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) {
            text = QString(QChar(key));
            if (!modifiers.testFlag(Qt::ShiftModifier))
                text = text.toLower();
        }
        QKeyEvent event(type, key, modifiers, scanCode, 0, 0, text, autoRepeat);
        QCoreApplication::sendEvent(window, &event);
    }
    static void Press(QWindow* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                      quint32 scanCode = 0, bool autoRepeat = false)
    {
        Send(window, QEvent::KeyPress, key, modifiers, scanCode, autoRepeat);
    }
    static void Release(QWindow* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                        quint32 scanCode = 0, bool autoRepeat = false)
    {
        Send(window, QEvent::KeyRelease, key, modifiers, scanCode, autoRepeat);
    }
    static void Click(QWindow* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, quint32 scanCode = 0)
    {
        Press(window, key, modifiers, scanCode);
        Release(window, key, modifiers, scanCode);
    }
};
