#pragma once

#include "core/MacroBlock.h"
#include "core/MacroFile.h"

#include <QList>
#include <QString>
#include <QVector>
#include <Qt>

class QListWidgetItem;

namespace Ui {
class Macro;
}

// The rows of the macro editor's lists: making the event list's rows (key
// rows with their press or release picture, delay rows), reading them back as
// the lines of a macro file or the block a mouse button carries, and the
// macro list's current macro.
//
// A macro's rows alternate key row, delay row, ..., key row. A key row keeps
// its kind and code as item data, so its file and device form do not depend
// on the language its name was shown in; a delay row is one whose text holds
// "ms". GUI thread.
class MacroRows {
public:
    // The largest delay one device event holds, in milliseconds.
    static constexpr int MaxEventDelay = MacroBlock::MaxDelay;
    // Item types of key rows; delay rows are of the press type.
    enum RowType { PressRow = 0, ReleaseRow = 1 };
    // Item data of key rows: kind (MacroKeyCodes::Kind) and code.
    static constexpr int KindRole = Qt::UserRole;
    static constexpr int CodeRole = Qt::UserRole + 1;
    // What a delay row's text holds after its milliseconds.
    static const QString DelayMark;

    MacroRows(Ui::Macro* ui, const QString& pictureFolder);

    static bool IsDelayRow(const QListWidgetItem* item);
    static QVector<MacroFile::Line> LinesOf(const QList<QListWidgetItem*>& rows);
    // The block of a macro's rows as a mouse button carries it: the name in
    // at most 30 bytes (cut between characters), at most 70 events.
    static MacroBlock BlockOf(const QString& name, const QVector<MacroFile::Line>& lines);

    // A key row of a key name; one the vocabulary has no code for keeps none.
    QListWidgetItem* KeyRow(const QString& name, bool press) const;
    // A key row of a kind and code (none when kind is negative).
    QListWidgetItem* CodedKeyRow(const QString& name, bool press, int kind, int code) const;
    QListWidgetItem* DelayRow(const QString& text) const;
    // The row of a line of a macro file.
    QListWidgetItem* RowOf(const MacroFile::Line& line) const;

    // The current macro of the macro list; "" when none.
    QString CurrentMacro() const;
    // Whether the macro list holds a macro of that name.
    bool HasMacro(const QString& name) const;

    // The shown macro's rows as its file holds them.
    QVector<MacroFile::Line> ShownLines() const;
    // Appends a key row, or a delay row (bounded to a device event's), to the
    // shown macro; nothing when no macro is current.
    void AppendKeyRow(const QString& name, bool press);
    void AppendDelayRow(qint64 ms);

private:
    Ui::Macro* ui;
    QString pictureFolder_;
};
