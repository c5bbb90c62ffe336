#include "pages/macro/MacroTransfer.h"

#include "core/ButtonRecords.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "dialogs/FileChooser.h"
#include "dialogs/MacroKeyCodes.h"
#include "pages/macro/Macro.h"
#include "pages/macro/MacroExportFile.h"
#include "platform/ReplaceFile.h"
#include "ui_Macro.h"

#include <QButtonGroup>
#include <QFile>
#include <QSignalBlocker>

namespace {
const QString DelayMark = QStringLiteral("ms");
} // namespace

MacroTransfer::MacroTransfer(Macro* page)
    : page_(page)
{
}

void MacroTransfer::FromDevice(const FlashDataMap& image, int button)
{
    if (button < 0 || button >= FlashDataMap::ButtonCount)
        return;
    const MacroBlock& block = image.macros[button];
    const QString name = ButtonRecords::MacroName(block);
    if (!MacroFile::NameAllowed(name)) {
        qWarning("macro of button %d not taken: its name cannot name a file", button);
        return;
    }
    page_->selecting_ = true;
    page_->ui->listWidgetKey->clear();
    QListWidget* list = page_->ui->listWidgetHong;
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
            row = known ? page_->CodedKeyRow(mouse, event.release == 0, kind, code) : page_->KeyRow(mouse, event.release == 0);
        } else {
            row = page_->KeyRow(MacroKeyCodes::NameFromDeviceCode(code, kind), event.release == 0);
        }
        page_->ui->listWidgetKey->addItem(row);
        if (i < count - 1)
            page_->AppendDelayRow(event.delay);
    }
    const QString path = MacroFile::PathOf(page_->MacroFolder, name);
    if (count > 0 && QFile::exists(path) && !MacroFile::Append(path, page_->ShownLines()))
        qWarning("macro %s: the events of the device were not added to its file", qPrintable(name));
    list->setCurrentRow(-1);
    page_->selecting_ = false;
    PostMsg::Instance()->PostAddMacroButton();
    page_->ui->listWidgetKey->clear();
}

void MacroTransfer::ToDevice(QString name, int button)
{
    if (button < 0 || button >= FlashDataMap::ButtonCount || !UiReady)
        return;
    name.remove(QChar(0));
    const ButtonFunction function = LiveFlashData.get().buttons[button];
    QVector<MacroFile::Line> lines;
    // What was saved: the list shown, unless it holds changes made since
    // (the events go after a pause in which the window takes input).
    if (page_->ui->listWidgetHong->currentRow() >= 0 && name == page_->CurrentMacro() && !page_->EventsModified) {
        lines = page_->ShownLines();
    } else {
        // Not the macro shown as saved: its saved rows, as the file reader
        // reads them.
        MacroFile::Content content;
        if (!MacroFile::Read(MacroFile::PathOf(page_->MacroFolder, name), &content))
            return;
        for (MacroFile::Line line : qAsConst(content.lines)) {
            if (!line.delay && !line.text.contains(DelayMark)) {
                int code = 0;
                if (!MacroKeyCodes::KnownCode(line.code, line.kind, &code)) {
                    line.code = MacroKeyCodes::CodeText(0);
                    line.kind = MacroKeyCodes::Key;
                }
            }
            lines.append(line);
        }
    }
    SetButtonMacro(button, function, Macro::BlockOf(name, lines));
}

void MacroTransfer::Export()
{
    const QString name = page_->CurrentMacro();
    if (page_->ui->listWidgetHong->currentRow() < 0)
        return;
    const QString path = FileChooser::SaveFile(page_, FileChooser::Use::Macro, QStringLiteral("FileSave"),
                                               QStringLiteral("File(*.ini)"));
    if (path.isEmpty())
        return;
    QList<QListWidgetItem*> items;
    for (int row = 0; row < page_->ui->listWidgetKey->count(); ++row)
        items.append(page_->ui->listWidgetKey->item(row));
    const QVector<MacroFile::Line> lines = Macro::LinesOf(items);
    QVector<MacroExportFile::Row> rows;
    for (int row = 0; row < items.size(); ++row)
        rows.append({items.at(row)->text(), items.at(row)->icon(), lines.at(row)});
    QString error;
    if (!ReplaceFile(path, MacroExportFile::Format(name, page_->RepeatCode(), rows), &error)) {
        qWarning("macro %s not exported: %s", qPrintable(name), qPrintable(error));
        page_->ShowFailure(ExeIsRun::Failure::Export);
    }
}

void MacroTransfer::Import()
{
    const QString path = FileChooser::OpenFile(page_, FileChooser::Use::Macro, QStringLiteral("SelectFile"),
                                               QStringLiteral("File(*.ini)"));
    if (path.isEmpty())
        return;
    // The whole file is read and checked before anything changes.
    QFile file(path);
    MacroExportFile::Macro macro;
    if (!file.open(QIODevice::ReadOnly) || file.size() > MacroExportFile::MaxFileSize
        || !MacroExportFile::Parse(file.read(MacroExportFile::MaxFileSize + 1), &macro)) {
        qWarning("no macro imported: %s is not a macro export", qPrintable(path));
        page_->ShowFailure(ExeIsRun::Failure::Import);
        return;
    }
    file.close();
    const QString macroPath = MacroFile::PathOf(page_->MacroFolder, macro.name);
    if (page_->HasMacro(macro.name) || QFile::exists(macroPath)) {
        page_->ShowSameMacro(QSize());
        return;
    }
    // The rows are made from the values read, with the page's own icons, and
    // written in the page's own form.
    QList<QListWidgetItem*> items;
    for (const MacroFile::Line& line : qAsConst(macro.lines))
        items.append(page_->RowOf(line));
    QString error;
    if (!MacroFile::Write(macroPath, QString::number(macro.repeatCode), Macro::LinesOf(items), &error)) {
        qWarning("macro %s not imported: %s", qPrintable(macro.name), qPrintable(error));
        qDeleteAll(items);
        page_->ShowFailure(ExeIsRun::Failure::ImportSave);
        return;
    }
    page_->selecting_ = true;
    page_->ui->listWidgetHong->addItem(macro.name);
    page_->ui->listWidgetHong->setCurrentRow(page_->ui->listWidgetHong->count() - 1);
    page_->selecting_ = false;
    page_->ui->listWidgetKey->clear();
    for (QListWidgetItem* item : qAsConst(items))
        page_->ui->listWidgetKey->addItem(item);
    // The repeat controls show the imported macro's own mode, so that a save
    // of it keeps that mode.
    const QSignalBlocker repeat(page_->RepeatModeGroup);
    const QSignalBlocker number(page_->ui->NumberEdit);
    page_->SetRepeatCode(macro.repeatCode);
}
