#include "pages/macro/MacroExportImport.h"

#include "core/MacroFile.h"
#include "dialogs/FileChooser.h"
#include "pages/macro/MacroExportFile.h"
#include "pages/macro/MacroRows.h"
#include "platform/ReplaceFile.h"
#include "ui_Macro.h"

#include <QFile>

MacroExportImport::MacroExportImport(Ui::Macro* ui, const MacroRows& rows, Page page)
    : ui(ui)
    , rows_(rows)
    , page_(std::move(page))
{
}

void MacroExportImport::Export()
{
    const QString name = rows_.CurrentMacro();
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    const QString path = FileChooser::SaveFile(page_.widget, FileChooser::Use::Macro, QStringLiteral("FileSave"),
                                               QStringLiteral("File(*.ini)"));
    if (path.isEmpty())
        return;
    QList<QListWidgetItem*> items;
    for (int row = 0; row < ui->listWidgetKey->count(); ++row)
        items.append(ui->listWidgetKey->item(row));
    const QVector<MacroFile::Line> lines = MacroRows::LinesOf(items);
    QVector<MacroExportFile::Row> rows;
    for (int row = 0; row < items.size(); ++row)
        rows.append({items.at(row)->text(), items.at(row)->icon(), lines.at(row)});
    QString error;
    if (!ReplaceFile(path, MacroExportFile::Format(name, page_.repeatCode(), rows), &error)) {
        qWarning("macro %s not exported: %s", qPrintable(name), qPrintable(error));
        page_.failed(ExeIsRun::Failure::Export);
    }
}

void MacroExportImport::Import()
{
    const QString path = FileChooser::OpenFile(page_.widget, FileChooser::Use::Macro, QStringLiteral("SelectFile"),
                                               QStringLiteral("File(*.ini)"));
    if (path.isEmpty())
        return;
    // The whole file is read and checked before anything changes.
    QFile file(path);
    MacroExportFile::Macro macro;
    if (!file.open(QIODevice::ReadOnly) || file.size() > MacroExportFile::MaxFileSize
        || !MacroExportFile::Parse(file.read(MacroExportFile::MaxFileSize + 1), &macro)) {
        qWarning("no macro imported: %s is not a macro export", qPrintable(path));
        page_.failed(ExeIsRun::Failure::Import);
        return;
    }
    file.close();
    const QString macroPath = MacroFile::PathOf(page_.folder, macro.name);
    if (rows_.HasMacro(macro.name) || QFile::exists(macroPath)) {
        page_.nameTaken();
        return;
    }
    // The rows are made from the values read, with the page's own icons, and
    // written in the page's own form.
    QList<QListWidgetItem*> items;
    for (const MacroFile::Line& line : qAsConst(macro.lines))
        items.append(rows_.RowOf(line));
    QString error;
    if (!MacroFile::Write(macroPath, QString::number(macro.repeatCode), MacroRows::LinesOf(items), &error)) {
        qWarning("macro %s not imported: %s", qPrintable(macro.name), qPrintable(error));
        qDeleteAll(items);
        page_.failed(ExeIsRun::Failure::ImportSave);
        return;
    }
    page_.ownChange(true);
    ui->listWidgetHong->addItem(macro.name);
    ui->listWidgetHong->setCurrentRow(ui->listWidgetHong->count() - 1);
    page_.ownChange(false);
    ui->listWidgetKey->clear();
    for (QListWidgetItem* item : qAsConst(items))
        ui->listWidgetKey->addItem(item);
    // The repeat controls show the imported macro's own mode, so that a save
    // of it keeps that mode.
    page_.showRepeat(macro.repeatCode);
}
