#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class SameMacro;
}

// Notice that a macro of the entered name exists already.
class SameMacro : public MessageNotice {
    Q_OBJECT
public:
    explicit SameMacro(QWidget* parent = nullptr);
    ~SameMacro() override;

    // Puts the kept "Debunce" text on the label (the argument is not used).
    void SetText(const QString& text);

private:
    Ui::SameMacro* ui;
    QString debounceText_;
};
