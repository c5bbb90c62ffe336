#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include <functional>

class QTimer;

// The pause between a macro editor's save and the macro's events going to the
// mouse: the editor's file is settled first, and the window keeps taking input
// meanwhile. A saved macro waits here with the device buttons that held it at
// the save; a later save of the same macro joins the waiting one and starts
// its pause again, so its buttons get the last saved events once. A repeat
// code saved meanwhile follows the events. GUI thread.
class MacroSavePause : public QObject {
    Q_OBJECT
public:
    // The device buttons that hold a macro now, in row order.
    using Holding = std::function<QVector<int>(const QString& name)>;
    // Sends a macro's repeat code to the buttons that hold it.
    using SendRepeat = std::function<void(const QString& name)>;

    // rowOrder: the device buttons in the page's row order.
    MacroSavePause(const QVector<int>& rowOrder, Holding holding, SendRepeat sendRepeat, QObject* parent);

    // The macro's events were saved: they go after the pause.
    void EventsSaved(const QString& name);
    // Its repeat code was saved: at once, or after its waiting events.
    void RepeatSaved(const QString& name);
    // A waiting macro goes out under its new name.
    void Rename(const QString& oldName, const QString& newName);
    // Sends every waiting macro at once, in the order of the saves.
    void SendAll();
    bool Pending() const { return !pending_.isEmpty(); }

private:
    struct Entry {
        QString name;
        QVector<int> buttons;   // in row order
        bool repeat = false;
        QTimer* pause = nullptr;
    };
    QVector<Entry>::iterator Find(const QString& name);
    // The events (then the repeat code) to the buttons that still hold the
    // macro; the entry goes.
    void Send(QString name);   // a copy: the entry it names goes

    QVector<int> rowOrder_;
    Holding holding_;
    SendRepeat sendRepeat_;
    QVector<Entry> pending_;
};
