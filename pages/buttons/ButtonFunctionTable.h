#pragma once

#include <QString>
#include <QVector>

namespace Ui {
class Buttoninterface;
}
class QToolButton;
class QWidget;

// The one table of the button page that knows which function button stands
// for which device function (type, value1) and where the function list shows
// a type: showing a row's text, opening the list on a row's function and
// assigning a function all read it, so a new function is one line here.
//
// Device function types: 0 disabled, 1 mouse click (value1 the click bit),
// 2 DPI step, 3 scroll, 4 fire key, 5 key record (consumer key or
// combination), 6 macro, 7 double click, 8 DPI shift, 9 triple click,
// 10 DPI lock (value1 the DPI register), 11 report-rate step.
class ButtonFunctionTable {
public:
    // How a function button stores its function.
    enum class Kind {
        List,       // a button of the function list: (type, value)
        Panel,      // a button of a category's panel: (type, value)
        Consumer,   // a consumer key: a key record of the usage `value`
        DpiLock,    // the DPI `value`, stored as its register
        Fire,       // the fire key: interval and count of the fire dialog
    };
    struct Function {
        QToolButton* button;
        Kind kind;
        int type;
        int value;   // value1; the usage of a consumer key; the DPI of a lock
        // Where the button sits: the row of a list function in the function
        // list, the row of a consumer key or a lock in its panel.
        int row;
    };
    // Where a function type opens in the function list: the category button
    // that is checked, the row the list scrolls to and the panel shown. A
    // function of the list itself (a click, the fire key ...) is its own
    // place there instead.
    struct Category {
        int type;
        QToolButton* list;
        int listRow;
        QWidget* panel;
    };

    static constexpr int KeyType = 5;
    static constexpr int MacroType = 6;
    static constexpr int DpiLockType = 10;
    // The DPI locks: 100 to 1200 in steps of 100.
    static constexpr int LockStep = 100;
    static constexpr int LockCount = 12;

    explicit ButtonFunctionTable(Ui::Buttoninterface* ui);

    const QVector<Function>& Functions() const { return functions_; }
    // The function a button stores; nullptr for another button.
    const Function* Of(const QToolButton* button) const;
    // The button showing (type, value1): a type of one button matches any
    // value; consumer keys and locks match by their usage and DPI. nullptr
    // when none.
    const Function* Find(int type, int value1) const;
    // Where a type opens; a key record opens the consumer page when it is a
    // consumer key, the combination button otherwise. nullptr for a type the
    // list does not show.
    const Category* CategoryOf(int type, bool consumer = false) const;
    // The consumer key whose usage has this low byte (the byte a stored
    // record names it by); nullptr when none of them has it.
    const Function* Consumer(int lowByte) const;
    // Whether a button of the function list opens a panel of its own (its
    // entries a sub-list beside the list).
    bool OpensPanel(const QToolButton* listButton) const;

    // The text of a DPI lock: the lock category's text, "-", the DPI.
    QString LockText(const QString& dpi) const;

    // The 17 buttons of the function list, in list order.
    const QVector<QToolButton*>& ListButtons() const { return listButtons_; }
    // The consumer keys, by their row in the panel.
    const QVector<QToolButton*>& ConsumerButtons() const { return consumerButtons_; }
    // The buttons of the category panels, each once.
    const QVector<QToolButton*>& PanelButtons() const { return panelButtons_; }

private:
    QVector<Function> functions_;
    QVector<Category> categories_;
    Category consumerCategory_{};
    // The panel shown when no category has one open.
    QWidget* restingPanel_ = nullptr;
    QVector<QToolButton*> listButtons_;
    QVector<QToolButton*> consumerButtons_;
    QVector<QToolButton*> panelButtons_;
};
