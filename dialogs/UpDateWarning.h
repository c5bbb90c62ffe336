#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class UpDateWarning;
}

// Firmware notice whose message comes from its caller. The settings page
// keeps one and shows it without waiting; Return confirms it.
class UpDateWarning : public MessageNotice {
    Q_OBJECT
public:
    explicit UpDateWarning(QWidget* parent = nullptr);
    ~UpDateWarning() override;

    void SetText(const QString& text);

private:
    Ui::UpDateWarning* ui;
};
