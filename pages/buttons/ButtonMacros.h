#pragma once

#include "core/MacroBlock.h"

#include <QString>
#include <QVector>

class Buttoninterface;
class MacroSavePause;
class QToolButton;

// The macros of the button page: the macro list of the function list (one
// button per macro file), a macro stored on the checked row's button, the
// macro editor's saves (through MacroSavePause), renames and deletes (a
// deleted macro's buttons get their fallback: the model's key parameter, or
// the button's default function). GUI thread; part of the page, which makes
// it after its form and function table.
class ButtonMacros {
public:
    explicit ButtonMacros(Buttoninterface* page);

    // The macro list's widget in its scroll area, and its buttons.
    void BuildList();
    // The macro folder changed: the buttons again.
    void RebuildList();
    // Stores the macro of a list button on the checked row's button; closes
    // the panels.
    void Assign(const QToolButton* macro);
    // The editor saved a macro: mode 0 its events, 1 its repeat code.
    void Saved(const QString& name, int mode);
    void Rename(const QString& oldName, const QString& newName);
    // The rows showing a deleted macro (by their text) get their fallback.
    void FallBack(const QString& text);
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

private:
    void AddButtons();
    // The macro name a row label shows (its text without the prefix).
    QString NameOf(const QToolButton* label) const;
    // The device buttons that hold a macro now, in row order.
    QVector<int> Holding(const QString& name) const;
    // The repeat code of a saved macro to the buttons that hold it.
    void SendRepeat(const QString& name);

    Buttoninterface* page_;
    MacroSavePause* pause_ = nullptr;
};
