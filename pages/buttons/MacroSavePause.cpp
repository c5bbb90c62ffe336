#include "pages/buttons/MacroSavePause.h"

#include "core/PostMsg.h"
#include "core/Timing.h"

#include <QTimer>

#include <algorithm>
#include <utility>

namespace {
// After a save, the macro editor's file is settled before the blocks go.
constexpr int MacroSaveWaitMs = 1500;
} // namespace

MacroSavePause::MacroSavePause(const QVector<int>& rowOrder, Holding holding, SendRepeat sendRepeat,
                               QObject* parent)
    : QObject(parent)
    , rowOrder_(rowOrder)
    , holding_(std::move(holding))
    , sendRepeat_(std::move(sendRepeat))
{
}

QVector<MacroSavePause::Entry>::iterator MacroSavePause::Find(const QString& name)
{
    return std::find_if(pending_.begin(), pending_.end(), [&name](const Entry& entry) { return entry.name == name; });
}

void MacroSavePause::EventsSaved(const QString& name)
{
    const QVector<int> buttons = holding_(name);
    const auto pending = Find(name);
    if (pending != pending_.end()) {
        // Those of both saves, in row order as the writes go.
        QVector<int> joined;
        for (int button : qAsConst(rowOrder_)) {
            if (pending->buttons.contains(button) || buttons.contains(button))
                joined.append(button);
        }
        pending->buttons = joined;
        pending->pause->start();
        return;
    }
    Entry entry;
    entry.name = name;
    entry.buttons = buttons;
    entry.pause = new QTimer(this);
    entry.pause->setSingleShot(true);
    // Not before the pause is over.
    entry.pause->setTimerType(Qt::PreciseTimer);
    entry.pause->setInterval(Timing::Ms(MacroSaveWaitMs));
    // Found by its timer: a rename may have changed the entry's name.
    QTimer* const timer = entry.pause;
    connect(timer, &QTimer::timeout, this, [this, timer] {
        for (const Entry& waiting : qAsConst(pending_)) {
            if (waiting.pause == timer) {
                Send(waiting.name);
                return;
            }
        }
    });
    pending_.append(entry);
    timer->start();
}

void MacroSavePause::RepeatSaved(const QString& name)
{
    const auto pending = Find(name);
    if (pending != pending_.end())
        pending->repeat = true;
    else
        sendRepeat_(name);
}

void MacroSavePause::Rename(const QString& oldName, const QString& newName)
{
    for (Entry& entry : pending_) {
        if (entry.name == oldName)
            entry.name = newName;
    }
}

void MacroSavePause::Send(QString name)
{
    const auto pending = Find(name);
    if (pending == pending_.end())
        return;
    const Entry entry = *pending;
    pending_.erase(pending);
    entry.pause->deleteLater();
    // A button given another function or macro meanwhile keeps it.
    const QVector<int> holding = holding_(entry.name);
    for (int button : entry.buttons) {
        if (holding.contains(button))
            PostMsg::Instance()->PostMacroDownLoadData(entry.name, button);
    }
    if (entry.repeat)
        sendRepeat_(entry.name);
}

void MacroSavePause::SendAll()
{
    while (!pending_.isEmpty())
        Send(pending_.first().name);
}
