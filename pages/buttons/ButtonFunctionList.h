#pragma once

#include "pages/buttons/ButtonFunctionTable.h"

#include <QObject>
#include <QVector>

#include <functional>
#include <optional>

namespace Ui {
class Buttoninterface;
}
class QButtonGroup;
class QPoint;
class QToolButton;
class QWidget;

// The button page's function list: opening it on the function a row's
// button holds, storing the function a function button stands for on the
// checked row's button, and the function buttons that ask first (the fire
// key, a key combination) or open the macro list. It owns which row, list
// entry and marker are checked and which panel shows. What stands for what
// comes from the page's ButtonFunctionTable; what a device button holds, from
// the page's mirror (it asks, by type and value, never by a caption). GUI
// thread; part of the page, which makes it after its form and table.
class ButtonFunctionList : public QObject {
    Q_OBJECT
public:
    // One row of the button list: its label, its marker on the mouse picture
    // and the device button it edits.
    struct Row {
        QToolButton* label;
        QToolButton* marker;
        int button;
    };
    // A device button's function as the page mirrors it; type -1 when the
    // page mirrors none for it.
    struct Held {
        int type = -1;
        int value1 = -1;
        int value2 = -1;
    };
    // What the list asks the page.
    struct Page {
        // The page: its dialogs sit over it, and a function button that has a
        // slot of the page's own is bound by name.
        QWidget* widget = nullptr;
        std::function<Held(int button)> held;
        // The DPI a lock register stands for.
        std::function<int(int lockRegister)> dpiOf;
        // The register of a DPI lock; none when the model has no register
        // for that DPI.
        std::function<std::optional<int>(int dpi)> registerOf;
    };

    // panelGroup: the page's group of the panels' buttons and the macro
    // list's buttons.
    ButtonFunctionList(Ui::Buttoninterface* ui, const ButtonFunctionTable& table, const QVector<Row>& rows,
                       QButtonGroup* panelGroup, Page page);

    // Every function button without a slot of its own stores its function
    // when it is clicked.
    void ConnectAssignments();
    // Opens the list on the function of a row (0-5); a row holding the only
    // left click gets the "left button only" notice instead.
    void ChooseRow(int row);
    // Stores a function on the checked row's button (checked true), then
    // closes the panels.
    void Assign(const ButtonFunctionTable::Function& function, bool checked);
    // The same for the function a button of the table stands for.
    void AssignOf(QToolButton* button, bool checked);
    // The macro category: the macro list, or the "make a macro" notice when
    // there is no macro.
    void OpenMacros(bool anyMacro);
    // The fire key: its dialog on the checked row's interval and count; an
    // accepted dialog stores them.
    void AskFire();
    // A key combination: its dialog; an accepted one is told (Combination).
    void AskCombination();
    // A left press on the page itself (at p): a press away from the open
    // list or panel closes it, and away from the rows unchecks them.
    void PagePressed(const QPoint& p);
    // The list's page (1) or the rows' page (0) became current.
    void ListPageChanged(int index);

    // The first checked label in row order; nullptr when none.
    QToolButton* CheckedLabel() const;
    // The device button a row label edits; -1 for another widget.
    int DeviceButtonOf(const QToolButton* label) const;
    void ClosePanels();
    void UncheckLabels();
    // Unchecks the panel buttons and the macro buttons.
    void UncheckFunctionButtons();

signals:
    // The device took a function for a button: the page mirrors it.
    void Stored(int button, int type, int value1, int value2);
    // An accepted key combination for a device button.
    void Combination(int button, const QString& text);
    // The list opened on a row that holds a macro: its list button is checked.
    void MacroRowOpened(const QToolButton* label);

private:
    // A row holding a key record: its consumer key or the combination button.
    void OpenKeyOf(int row);
    void OpenList(QToolButton* listButton, int listRow, QWidget* panelPage);
    // The rows whose button holds the left click.
    int LeftClickRows() const;
    void UncheckMarkers();

    Ui::Buttoninterface* ui;
    const ButtonFunctionTable& table_;
    QVector<Row> rows_;
    Page page_;
    QButtonGroup* labelGroup_;
    QButtonGroup* listGroup_;
    QButtonGroup* panelGroup_;
    QButtonGroup* markerGroup_;
    // The fire key's interval and count of the last accepted dialog.
    int fireInterval_ = 10;
    int fireCount_ = 3;
};
