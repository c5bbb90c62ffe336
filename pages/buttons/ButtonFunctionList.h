#pragma once

#include "pages/buttons/ButtonFunctionTable.h"

namespace Ui {
class Buttoninterface;
}
class Buttoninterface;
class QPoint;
class QToolButton;
class QWidget;

// The button page's function list: opening it on the function a row's
// button holds, storing the function a function button stands for on the
// checked row's button, and the function buttons that ask first (the fire
// key, a key combination) or open the macro list. What stands for what comes
// from the page's ButtonFunctionTable. GUI thread; part of the page, which
// makes it after its form.
class ButtonFunctionList {
public:
    explicit ButtonFunctionList(Buttoninterface* page);

    // Every function button without a slot of its own stores its function
    // when it is clicked.
    void ConnectAssignments();
    // Opens the list on the function of a row (0-5); a row showing the only
    // left click gets the "left button only" notice instead.
    void ChooseRow(int row);
    // Stores a function on the checked row's button (checked true), then
    // closes the panels.
    void Assign(const ButtonFunctionTable::Function& function, bool checked);
    // The same for the function a button of the table stands for.
    void AssignOf(QToolButton* button, bool checked);
    // The macro category: the macro list, or the "make a macro" notice when
    // there is no macro.
    void OpenMacros();
    // The fire key: its dialog on the checked row's interval and count; an
    // accepted dialog stores them.
    void AskFire();
    // A key combination: its dialog; an accepted one is stored.
    void AskCombination();
    // A left press on the page itself (at p): a press away from the open
    // list or panel closes it, and away from the rows unchecks them.
    void PagePressed(const QPoint& p);

private:
    // A row holding a key record: its consumer key or the combination button.
    void OpenKeyOf(int row);
    void OpenList(QToolButton* listButton, int listRow, QWidget* panelPage);

    Buttoninterface* page_;
    Ui::Buttoninterface* ui;
    const ButtonFunctionTable& table_;
};
