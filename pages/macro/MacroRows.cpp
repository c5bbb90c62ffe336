#include "pages/macro/MacroRows.h"

#include "core/ButtonRecords.h"
#include "dialogs/MacroKeyCodes.h"
#include "ui_Macro.h"

#include <QIcon>

const QString MacroRows::DelayMark = QStringLiteral("ms");

MacroRows::MacroRows(Ui::Macro* ui, const QString& pictureFolder)
    : ui(ui)
    , pictureFolder_(pictureFolder)
{
}

bool MacroRows::IsDelayRow(const QListWidgetItem* item)
{
    return item->text().contains(DelayMark);
}

QListWidgetItem* MacroRows::KeyRow(const QString& name, bool press) const
{
    int kind = MacroKeyCodes::Key;
    int code = 0;
    if (!MacroKeyCodes::CodeOf(name, &kind, &code))
        kind = -1;
    return CodedKeyRow(name, press, kind, code);
}

QListWidgetItem* MacroRows::CodedKeyRow(const QString& name, bool press, int kind, int code) const
{
    auto* item = new QListWidgetItem(QIcon(pictureFolder_ + (press ? QStringLiteral("MacroDown.png")
                                                                  : QStringLiteral("MacroUp.png"))),
                                     name, nullptr, press ? PressRow : ReleaseRow);
    if (kind >= 0) {
        item->setData(KindRole, kind);
        item->setData(CodeRole, code);
    }
    return item;
}

QListWidgetItem* MacroRows::RowOf(const MacroFile::Line& line) const
{
    if (line.delay)
        return DelayRow(line.text);
    int kind = -1;
    int code = 0;
    if (MacroKeyCodes::KnownCode(line.code, line.kind, &code))
        kind = line.kind;
    return CodedKeyRow(KeyNameFromHidCode(line.code, line.kind), !line.release, kind, code);
}

QListWidgetItem* MacroRows::DelayRow(const QString& text) const
{
    return new QListWidgetItem(QIcon(pictureFolder_ + QStringLiteral("MacroTime.png")), text, nullptr, PressRow);
}

void MacroRows::AppendKeyRow(const QString& name, bool press)
{
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    ui->listWidgetKey->addItem(KeyRow(name, press));
    ui->listWidgetKey->setCurrentRow(ui->listWidgetKey->count() - 1);
}

void MacroRows::AppendDelayRow(qint64 ms)
{
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    ui->listWidgetKey->addItem(DelayRow(QString::number(qBound<qint64>(0, ms, MaxEventDelay)) + DelayMark));
    ui->listWidgetKey->setCurrentRow(ui->listWidgetKey->count() - 2);
}

QVector<MacroFile::Line> MacroRows::LinesOf(const QList<QListWidgetItem*>& rows)
{
    QVector<MacroFile::Line> lines;
    for (const QListWidgetItem* item : rows) {
        MacroFile::Line line;
        if (IsDelayRow(item)) {
            line.delay = true;
            line.text = item->text();
        } else {
            int kind = MacroKeyCodes::Key;
            int code = 0;
            if (item->data(KindRole).isValid()) {
                kind = item->data(KindRole).toInt();
                code = item->data(CodeRole).toInt();
            } else if (!MacroKeyCodes::CodeOf(item->text(), &kind, &code)) {
                // A name outside the vocabulary is the empty key, as on the device.
                kind = MacroKeyCodes::Key;
                code = 0;
            }
            line.code = MacroKeyCodes::CodeText(code);
            line.kind = kind;
            line.release = item->type() == ReleaseRow;
        }
        lines.append(line);
    }
    return lines;
}

QVector<MacroFile::Line> MacroRows::ShownLines() const
{
    QList<QListWidgetItem*> rows;
    for (int row = 0; row < ui->listWidgetKey->count(); ++row)
        rows.append(ui->listWidgetKey->item(row));
    return LinesOf(rows);
}

MacroBlock MacroRows::BlockOf(const QString& name, const QVector<MacroFile::Line>& lines)
{
    MacroBlock block;
    ButtonRecords::SetMacroName(&block, name);
    int events = 0;
    for (int row = 0; row < lines.size() && events < MacroBlock::MaxEvents; ++row) {
        const MacroFile::Line& line = lines.at(row);
        DeviceEvent& event = block.events[events];
        if (row % 2 == 0) {
            // A key row; a delay row out of place is the empty key.
            event.release = line.delay ? 0 : quint8(line.release);
            event.kind = line.delay ? quint8(MacroKeyCodes::Key) : quint8(line.kind);
            event.code = line.delay ? quint16(0) : quint16(line.code.midRef(2).toInt(nullptr, 16));
            event.delay = 0;
            if (row == lines.size() - 1)
                ++events;
        } else {
            const qint64 delay = QString(line.text).remove(DelayMark).toLongLong();
            event.delay = quint32(qBound<qint64>(0, delay, MaxEventDelay));
            ++events;
        }
    }
    block.count = quint8(events);
    return block;
}

QString MacroRows::CurrentMacro() const
{
    const QListWidgetItem* item = ui->listWidgetHong->currentItem();
    return item && ui->listWidgetHong->currentRow() >= 0 ? item->text() : QString();
}

bool MacroRows::HasMacro(const QString& name) const
{
    for (int row = 0; row < ui->listWidgetHong->count(); ++row) {
        if (ui->listWidgetHong->item(row)->text() == name)
            return true;
    }
    return false;
}
