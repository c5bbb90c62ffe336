#pragma once

#include "dialogs/MessageDialog.h"

namespace Ui {
class QuestionDialog;
}

// Asks for a macro name. The name is kept within 30 bytes of the local 8-bit
// encoding while the user types, and a blank typed at the end removes every
// blank. ResultText is empty from construction; OK sets it to the field's
// text (Return too), Cancel and Close empty it. The caller reads it once
// exec() has returned; an empty text means no name was given.
class QuestionDialog : public MessageDialog {
    Q_OBJECT
public:
    explicit QuestionDialog(QWidget* parent = nullptr);
    ~QuestionDialog() override;

    QString ResultText;

    // The longest prefix of text (after the blank rule) that fits the limit.
    static QString LimitName(const QString& text);
    static constexpr int MaxNameBytes = 30;

    // Shows the prompt for renaming (true) or for a new macro (false).
    void ShowSecondText(bool second);

public slots:
    void WindowClosedLan();
    void on_NewHong_clicked();
    void on_lineEdit_textEdited(const QString& text);

protected:
    void Dismiss() override;

private:
    Ui::QuestionDialog* ui;
    QString firstPrompt_;
    QString secondPrompt_;
};
