#pragma once

#include "core/FlashDataMap.h"
#include "core/KeyRecord.h"
#include "core/MacroBlock.h"
#include "pages/buttons/ButtonFunctionList.h"
#include "pages/buttons/ButtonFunctionTable.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <memory>

namespace Ui {
class Buttoninterface;
}
class LanguageTexts;
class ButtonMacros;
class QButtonGroup;
class QToolButton;
class Worker;

// The button assignment page, the first page of the configuration frame: the
// mouse picture with its six markers, the six button rows showing what each
// mouse button does, the function list and its panels, the debounce time, the
// onboard configuration choice and export, import and reset.
//
// It makes the device worker (the one Worker, WorkerInstance) and stops it
// again when it goes, and it takes the whole images the worker reads: while it
// fills its widgets from one, ButtonPageLoading keeps the setters quiet, and
// ButtonPageFilled tells the apply dialog that the page has taken the image.
//
// The rows are not in device order: rows 1 to 6 edit device buttons 0, 1, 2,
// 4, 3, 5. The page mirrors each device button's function (ButtonTypes,
// ButtonValue1, ButtonValue2, indexed by device button) as it last read or
// stored it; an assignment changes a row's text and its mirror entry only
// when the device took it.
//
// Its parts: ButtonFunctionTable (which function button stands for which
// function), ButtonFunctionList (choosing and assigning), ButtonMacros (the
// macro list and macros on the buttons), ConfigurationActions
// (export, import, reset), ButtonPageTexts and ButtonPageStyle. Each part
// owns its state; the page wires them (what a button holds, what was stored)
// and gives a deleted macro's rows their fallback.
class Buttoninterface : public QWidget {
    Q_OBJECT
public:
    explicit Buttoninterface(QWidget* parent = nullptr);
    // Leaves the bus, stops the worker without waiting unbounded for a pass
    // that waits for the GUI thread, and stops the device-change notices.
    ~Buttoninterface() override;

    // Records (the builders hand what they make to the setters).
    // Stores a key combination ("Ctrl+A") on a device button 0-5; a text of
    // more than three items is not stored. Closes the panel, opens the list.
    void SetButtonComboKey(int button, const QString& text);
    // Stores the consumer key of a low byte (one of the 18) on button 0-5.
    void SetButtonMediaKey(int button, int code);
    KeyRecord ComboKeyRecordFromText(int button, const QString& text);
    KeyRecord FillComboKeyEvent(const QString& keyName, int button, int index, int count, KeyRecord record);
    // Sets a mirror entry; an index outside the mirror writes nothing.
    void SetButtonState(int button, int type, int value1, int value2);
    // Unchecks the panel buttons and the macro buttons.
    void UncheckFunctionButtons();

    // Showing (the rows' texts from an image). A macro's row also takes the
    // macro into its file and the macro page (Macros::Take) when the image
    // is new; a relabel (Macros::Leave) only sets the text.
    enum class Macros { Take, Leave };
    void ShowButtonFunction(int button, int type, int value1, int value2, const FlashDataMap& image,
                            Macros macros = Macros::Take);
    static QString KeyNameFromDeviceCode(int code, int kind);
    // Replaces the content of a macro's file by one line.
    void WriteMacroHeader(const QString& name, const QString& text);
    int DpiValueFromIndex(int index) const;
    int DpiIndexFromValue(int dpi) const;

    // Language: the page's texts of a language index (the construction flag
    // 1 only changes whether the rows are relabelled).
    void LoadLanguage(int flag, int index);

    // Macro list.
    void LoadMacroButtons();
    // A macro file as the block the mouse stores; *ok false when the
    // interface is not ready or the file cannot be read.
    MacroBlock ReadMacroFile(const QString& name, int button, bool* ok);
    static QString ReadMacroHeaderValue(const QString& name);

    // Sends at once the saved macros still waiting for the pause before
    // they go to the mouse (the frame is left, the program ends); the pause
    // otherwise runs on a timer.
    void SendPendingMacros();
    // Whether a saved macro waits for its pause.
    bool MacrosPending() const;

    // Writes the configuration export file; false (logged) when it cannot.
    bool ExportConfigFile(const QString& path, const FlashDataMap& image);

    // The device button a row label edits; -1 for another widget.
    int DeviceButtonOf(const QToolButton* label) const;
    // The label of a device button 0-5.
    QToolButton* LabelOf(int button) const;
    // The first checked label in row order; nullptr when none.
    QToolButton* CheckedLabel() const;

    // The macro list's buttons, placeholders included.
    const QList<QToolButton*>& MacroButtons() const;
    // The panels' buttons and the macro list's buttons.
    QButtonGroup* PanelGroup = nullptr;
    // The mirror, by device button.
    QVector<int> ButtonTypes;
    QVector<int> ButtonValue1;
    QVector<int> ButtonValue2;
    // The sensor of the model shown and the register table beside the
    // program: the registers of the DPI locks.
    QString SensorModel;
    QStringList DefineNames;
    QVector<int> DefineValues;
    // The text before a macro's name on a row.
    QString MacroPrefix;

public slots:
    // A whole image read from the device (blocking: the sender waits): clears
    // ButtonPageFilled, fills the page, then sets it.
    void SlotUpDataButtonUIButton(FlashDataMap image);
    // An applied or imported image: fills the page, ButtonPageFilled untouched.
    void SlotUpDataButtonUIB(FlashDataMap image);
    // The device's onboard configurations: count, the current one, whether
    // the choice is enabled.
    void SlotUpDataConfigUI(int count, int current, bool enabled);
    // Neither device data nor a stored image: the default functions.
    void SlotFormResetButton();
    // The chosen model: the mouse picture behind the buttons.
    void SlotMouseIndex(int index);
    void SlotChangeLanguage(int index);
    // The macro folder changed: the macro list is built again.
    void SlotAddMacroButton();
    void slotButtonClicked(bool checked);
    // The macro editor saved a macro: mode 0 its events, 1 its repeat code.
    void SlotUpDataMacro(const QString& name, int mode);
    void SlotMacroRename(const QString& oldName, const QString& newName);
    // A macro was deleted: its rows (by their text) get their fallback.
    void SlotDeleteMacroButton(const QString& text);

    void on_OutputData_clicked();
    void on_ImportData_clicked();
    void on_Reset_clicked();
    void on_ProjectChoose_activated(int index);

    // The six rows: open the list on the row's current function.
    void on_FireKey_clicked();
    void on_RightKey_clicked();
    void on_BackKey_clicked();
    void on_StartPause_clicked();
    void on_TopMusic_clicked();
    void on_BackMusic_clicked();

    // The default functions (the macro fallback calls them); every other
    // function button runs the same routine through its row of the table.
    void on_LeftKey_3_clicked(bool checked);
    void on_RightKey_3_clicked(bool checked);
    void on_MidKey_clicked(bool checked);
    void on_BackKey_2_clicked(bool checked);
    void on_ForWardKey_clicked(bool checked);
    void on_VolumeUp_8_clicked(bool checked);

    // Categories of the function list.
    void on_DPI_13_clicked();
    void on_DPI_11_clicked();
    void on_DPI_4_clicked(bool checked);
    void on_DPI_4_clicked();
    void on_DPI_9_clicked();
    void on_DPI_7_clicked();
    void on_DPI_12_clicked();
    void on_DPI_10_clicked();
    // Fire key: the press opens the dialog (clicked(false)); an accepted
    // dialog stores with true.
    void on_DPI_6_clicked(bool checked);
    void on_DPI_6_clicked();
    void on_DPI_8_clicked();

    void on_Number1_clicked();
    void on_Number2_clicked();
    void on_Number3_clicked();
    void on_Number4_clicked();
    void on_Number5_clicked();
    void on_Number6_clicked();

    void on_stackedWidget_currentChanged(int index);
    void on_stackedWidget_2_currentChanged(int index);
    void on_ProjectChoose_currentIndexChanged(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    using Row = ButtonFunctionList::Row;

    void InitButtonGroups();
    void InitLanguageTexts();
    void FinishLanguage(int flag);
    void Relabel();
    void RebuildProfiles();
    void ReadSensorDefines();
    void Refresh(const FlashDataMap& image, bool fromDevice);
    // The mirror and the rows' texts from an image.
    void ShowImage(const FlashDataMap& image, Macros macros = Macros::Take);

    void ClosePanels();
    void UncheckLabels();
    void CheckMarkerRow(int row);
    int MirrorType(int button) const;
    int MirrorValue1(int button) const;
    int MirrorValue2(int button) const;
    ButtonFunctionList::Held HeldBy(int button) const;
    // The rows showing a deleted macro get their fallback: the model's key
    // parameter, or the button's default function.
    void FallBack(const QString& text);

    Ui::Buttoninterface* ui;
    Worker* worker_ = nullptr;
    std::unique_ptr<LanguageTexts> language_;
    QVector<Row> rows_;
    std::unique_ptr<ButtonFunctionTable> functions_;
    std::unique_ptr<ButtonFunctionList> functionList_;
    std::unique_ptr<ButtonMacros> macros_;
    // The last image the page showed, for a relabel after a language change.
    FlashDataMap lastShown_;
    bool hasShown_ = false;
    int languageFlag_ = 1;
    QString userSettingDir_;
    QString pictureDir_;
    QString buttonColour_;
    // The text before a configuration's number.
    QString profilePrefix_;
};
