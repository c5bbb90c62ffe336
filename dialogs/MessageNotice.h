#pragma once

#include "dialogs/MessageDialog.h"

// A notice: its confirm button NewHong only closes it, like its close button.
class MessageNotice : public MessageDialog {
    Q_OBJECT
public:
    ~MessageNotice() override;

public slots:
    void on_NewHong_clicked();

protected:
    explicit MessageNotice(QWidget* parent);
};
