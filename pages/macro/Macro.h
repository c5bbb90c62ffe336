#pragma once

#include "core/FlashDataMap.h"
#include "core/LanguageTexts.h"
#include "core/MacroBlock.h"
#include "core/MacroFile.h"
#include "dialogs/ExeIsRun.h"
#include "pages/macro/MacroRows.h"

#include <QModelIndex>
#include <QPoint>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <memory>

class MacroDeviceTransfer;
class MacroExportImport;
class MacroRecorder;
class QButtonGroup;
class QListWidgetItem;

namespace Ui {
class Macro;
}

// The macro editor, the second page of the configuration frame: the user's
// macros (one file each in the per-user macro folder) on the left, the rows
// of the shown macro in the middle (key presses and releases, mouse clicks,
// delays), recording, the delay and repeat modes, inserting events and Save
// on the right.
//
// The rows are made and read by MacroRows. While a recording (MacroRecorder)
// runs MacroRecording is set (the top window then ignores every key) and the
// frame's page buttons are disabled (SigStartRecord 0, then 1).
//
// The page meets the button page only on the bus: a save sends SigUpDataMacro
// (name, 0 rows changed / 1 repeat changed), on which the button page asks for
// the block of each button that carries the macro (SigMacroDownLoadData); a
// macro button shown from the device hands its block over (SigButtonToMacro);
// MacroDeviceTransfer does both. MacroExportImport exports and imports single
// macros. GUI thread.
class Macro : public QWidget {
    Q_OBJECT
public:
    explicit Macro(QWidget* parent = nullptr);
    ~Macro() override;

    // The largest delay one device event holds, in milliseconds.
    static constexpr int MaxEventDelay = MacroRows::MaxEventDelay;
    // The most key rows a macro has on the device.
    static constexpr int MaxKeyRows = MacroBlock::MaxEvents;
    // Dialog offsets: the page's own dialogs, and the key and delay dialogs.
    static constexpr int DialogDx = -100;
    static constexpr int DialogDy = -50;
    static constexpr int EventDialogDx = -50;
    static constexpr int EventDialogDy = -70;

    // The rows' types and data (MacroRows).
    static constexpr int PressRow = MacroRows::PressRow;
    static constexpr int ReleaseRow = MacroRows::ReleaseRow;
    static constexpr int KindRole = MacroRows::KindRole;
    static constexpr int CodeRole = MacroRows::CodeRole;
    static bool IsDelayRow(const QListWidgetItem* item) { return MacroRows::IsDelayRow(item); }
    static MacroBlock BlockOf(const QString& name, const QVector<MacroFile::Line>& lines)
    {
        return MacroRows::BlockOf(name, lines);
    }
    static QVector<MacroFile::Line> LinesOf(const QList<QListWidgetItem*>& rows) { return MacroRows::LinesOf(rows); }
    // The macro's rows as its file holds them.
    QVector<MacroFile::Line> ShownLines() const;
    // The repeat code of the page's repeat controls: 254, 255, 253 or the count.
    int RepeatCode() const;

    // Row operations on the event list (the page's own and recording's).
    void AppendKeyRow(const QString& name, bool press);
    void AppendDelayRow(qint64 ms);
    void InsertKeyRowWithDelay(const QString& name, bool press);
    void InsertMouseClickRows(int mouseButton);
    void InsertDelayRow(int ms);

    // Fills the macro list from the macro folder.
    void LoadMacroList();
    // Shows the current macro's rows and repeat mode from its file.
    void LoadMacroFile();

    // Whether the shown macro's rows, or its repeat mode, changed since it
    // was saved.
    bool EventsModified = false;
    bool RepeatModified = false;
    // The texts of the macro list's menu: export, rename, delete, new, import.
    QStringList MenuTexts = QStringList{QString(), QString(), QString(), QString(), QString()};
    // The page's picture folder.
    QString PictureFolder;

public slots:
    void SlotButtonToMacro(FlashDataMap image, int button);
    void SlotMacroDownLoadData(QString name, int button);
    void SlotSetMacroPage();
    void on_NewHong_clicked();
    void on_DeleteHong_clicked();
    void on_Amend_clicked();
    void on_NumberEdit_editingFinished();
    void on_ReUntilLoose_released();
    void on_ReUntilClick_released();
    void on_ReNumber_released();
    void on_AutoInsertDelay_released();
    void on_ChooseEvent_activated(int index);
    void on_DeleteKey_clicked();
    void on_StartRecord_clicked();
    void on_StopRecord_clicked();
    void on_Save_clicked();
    void UpdateCapslockTip(int vk, bool down, bool repeat);
    void SlotChangeLanguage(int index);
    void on_listWidgetKey_itemChanged(QListWidgetItem* item);
    void on_NumberEdit_valueChanged(int value);
    void on_listWidgetHong_clicked(const QModelIndex& index);
    void on_listWidgetHong_customContextMenuRequested(const QPoint& pos);
    void ExPortMacro();
    void RenameMacro();
    void DeleteMacro();
    void CreateMewMacro();
    void InPortMacro();
    void on_DelayTime_valueChanged(int value);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void MarkMacroModified();
    void MarkEventsChanged();
    void SetSaveActive(bool active);
    // Mouse rows take the names of the language just loaded.
    void RenameMouseRows();

    // While recording: shows the "stop first" notice over the page and
    // returns true, and the caller opens nothing; false when not recording.
    bool RecordingNoticeShown();
    // Places a dialog of the page over it.
    template <class Dialog>
    void Place(Dialog* dialog, int dx = DialogDx, int dy = DialogDy);
    void ShowSameMacro(const QSize& promptSize);
    // Tells the user that an action on a macro failed.
    void ShowFailure(ExeIsRun::Failure failure);

    int KeyRowCount() const;
    // Whether rows can be added (shows the limit notice when not).
    bool RoomForKeyRows(int added);
    void SetRepeatCode(int code);
    // The current macro's events from its file, blocking the repeat signals.
    void ShowCurrentMacro();
    void EndRecordingLook();

    Ui::Macro* ui;
    QString MacroFolder;
    QButtonGroup* DelayModeGroup = nullptr;
    QButtonGroup* RepeatModeGroup = nullptr;
    QString ButtonColorText;
    QString MacroRealText;
    std::unique_ptr<LanguageTexts> language_;
    std::unique_ptr<MacroRows> rows_;
    std::unique_ptr<MacroDeviceTransfer> deviceTransfer_;
    std::unique_ptr<MacroExportImport> exchange_;
    std::unique_ptr<MacroRecorder> recording_;
    // Set while the page itself changes the current macro (the change then
    // loads nothing of its own).
    bool selecting_ = false;
};
