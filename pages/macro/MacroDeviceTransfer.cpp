#include "pages/macro/MacroDeviceTransfer.h"

#include "core/ButtonRecords.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "dialogs/MacroKeyCodes.h"
#include "pages/macro/MacroRows.h"
#include "ui_Macro.h"

#include <QFile>

MacroDeviceTransfer::MacroDeviceTransfer(Ui::Macro* ui, MacroRows& rows, Page page)
    : ui(ui)
    , rows_(rows)
    , page_(std::move(page))
{
}

void MacroDeviceTransfer::FromDevice(const FlashDataMap& image, int button)
{
    if (button < 0 || button >= FlashDataMap::ButtonCount)
        return;
    const MacroBlock& block = image.macros[button];
    const QString name = ButtonRecords::MacroName(block);
    if (!MacroFile::NameAllowed(name)) {
        qWarning("macro of button %d not taken: its name cannot name a file", button);
        return;
    }
    page_.ownChange(true);
    ui->listWidgetKey->clear();
    QListWidget* list = ui->listWidgetHong;
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty()) {
        list->setCurrentItem(found.first());
    } else if (list->currentRow() >= 0) {
        list->insertItem(list->currentRow() + 1, name);
    } else {
        list->addItem(name);
        list->setCurrentRow(list->count() - 1);
    }
    // A count the block cannot hold is read as its most.
    const int count = qMin<int>(block.count, MacroBlock::MaxEvents);
    for (int i = 0; i < count; ++i) {
        const DeviceEvent& event = block.events[i];
        const int kind = event.kind;
        const int code = event.code;
        QListWidgetItem* row;
        if (kind == MacroKeyCodes::Mouse) {
            const QString mouse = MacroKeyCodes::MouseNameFromMask(code);
            const bool known = MacroKeyCodes::KnownCode(MacroKeyCodes::CodeText(code), kind, nullptr);
            row = known ? rows_.CodedKeyRow(mouse, event.release == 0, kind, code) : rows_.KeyRow(mouse, event.release == 0);
        } else {
            row = rows_.KeyRow(MacroKeyCodes::NameFromDeviceCode(code, kind), event.release == 0);
        }
        ui->listWidgetKey->addItem(row);
        if (i < count - 1)
            rows_.AppendDelayRow(event.delay);
    }
    const QString path = MacroFile::PathOf(page_.folder, name);
    if (count > 0 && QFile::exists(path) && !MacroFile::Append(path, rows_.ShownLines()))
        qWarning("macro %s: the events of the device were not added to its file", qPrintable(name));
    list->setCurrentRow(-1);
    page_.ownChange(false);
    PostMsg::Instance()->PostAddMacroButton();
    ui->listWidgetKey->clear();
}

void MacroDeviceTransfer::ToDevice(QString name, int button)
{
    if (button < 0 || button >= FlashDataMap::ButtonCount || !UiReady)
        return;
    name.remove(QChar(0));
    const ButtonFunction function = LiveFlashData.get().buttons[button];
    QVector<MacroFile::Line> lines;
    // What was saved: the list shown, unless it holds changes made since
    // (the events go after a pause in which the window takes input).
    if (page_.showsSaved(name)) {
        lines = rows_.ShownLines();
    } else {
        // Not the macro shown as saved: its saved rows, as the file reader
        // reads them.
        MacroFile::Content content;
        if (!MacroFile::Read(MacroFile::PathOf(page_.folder, name), &content))
            return;
        for (MacroFile::Line line : qAsConst(content.lines)) {
            if (!line.delay && !line.text.contains(MacroRows::DelayMark)) {
                int code = 0;
                if (!MacroKeyCodes::KnownCode(line.code, line.kind, &code)) {
                    line.code = MacroKeyCodes::CodeText(0);
                    line.kind = MacroKeyCodes::Key;
                }
            }
            lines.append(line);
        }
    }
    SetButtonMacro(button, function, MacroRows::BlockOf(name, lines));
}

