#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class InportFail;
}

// Notice that an exported configuration could not be imported: the file
// cannot be opened (ImportFileResult 1) or does not fit the device (2).
class InportFail : public MessageNotice {
    Q_OBJECT
public:
    explicit InportFail(QWidget* parent = nullptr);
    ~InportFail() override;

private:
    Ui::InportFail* ui;
};
