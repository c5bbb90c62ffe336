#pragma once

#include "core/MacroBlock.h"
#include "pages/buttons/ButtonFunctionList.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>

class MacroSavePause;
class QButtonGroup;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace Ui {
class Buttoninterface;
}

// The macros of the button page: the macro list of the function list (one
// button per macro file), a macro stored on a row's button, and the macro
// editor's saves (through MacroSavePause) and renames. It owns the list's
// widget and buttons. GUI thread; part of the page, which makes it after its
// form.
class ButtonMacros : public QObject {
    Q_OBJECT
public:
    using Row = ButtonFunctionList::Row;
    using Held = ButtonFunctionList::Held;
    // What the macros ask the page.
    struct Page {
        // The page: the macro list's widget is its child, and a click on a
        // macro's button reaches its slot slotButtonClicked(bool).
        QWidget* widget = nullptr;
        QString pictureDir;
        QString buttonColour;
        // What the page mirrors for a device button.
        std::function<Held(int button)> held;
        // The text before a macro's name on a row.
        std::function<QString()> prefix;
    };

    // panelGroup: the page's group of the panels' buttons, which the macro
    // buttons join.
    ButtonMacros(Ui::Buttoninterface* ui, const QVector<Row>& rows, QButtonGroup* panelGroup, Page page);

    // The macro list's widget in its scroll area, and its buttons.
    void BuildList();
    // The macro folder changed: the buttons again.
    void RebuildList();
    // The macro list's buttons, placeholders included.
    const QList<QToolButton*>& Buttons() const { return buttons_; }
    bool Empty() const { return buttons_.isEmpty(); }
    // Stores the macro of a list button on a row label's button.
    void Assign(const QToolButton* macro, QToolButton* label);
    // The editor saved a macro: mode 0 its events, 1 its repeat code.
    void Saved(const QString& name, int mode);
    void Rename(const QString& oldName, const QString& newName);
    void SendPending();
    bool Pending() const;
    // The list button of the macro a row label shows is checked and
    // scrolled to.
    void ShowInList(const QToolButton* label);
    // A macro file as the block the mouse stores; *ok false when the
    // interface is not ready or the file cannot be read.
    static MacroBlock ReadBlock(const QString& name, bool* ok);
    // The repeat code in the first line of a macro's file.
    static QString HeaderValue(const QString& name);
    // Replaces the content of a macro's file by one line (logged when it
    // cannot).
    static void WriteHeader(const QString& name, const QString& text);

signals:
    // The device took a macro for a button: the page mirrors it.
    void Stored(int button, int type, int value1, int value2);

private:
    void AddButtons();
    // The macro name a row label shows (its text without the prefix).
    QString NameOf(const QToolButton* label) const;
    // The device buttons that hold a macro now, in row order.
    QVector<int> Holding(const QString& name) const;
    // The repeat code of a saved macro to the buttons that hold it.
    void SendRepeat(const QString& name);

    Ui::Buttoninterface* ui;
    QVector<Row> rows_;
    QButtonGroup* panelGroup_;
    Page page_;
    MacroSavePause* pause_ = nullptr;
    QWidget* listWidget_ = nullptr;
    QVBoxLayout* listLayout_ = nullptr;
    QList<QToolButton*> buttons_;
};
