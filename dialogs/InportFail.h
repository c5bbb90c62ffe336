#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class InportFail;
}

// Notice that an exported configuration could not be imported: the file
// cannot be opened (ImportFileResult 1) or does not fit the device (2); or,
// with ShowExportFailText, that the configuration could not be exported.
class InportFail : public MessageNotice {
    Q_OBJECT
public:
    explicit InportFail(QWidget* parent = nullptr);
    ~InportFail() override;

    // Puts the kept "ExportFail" text on the label.
    void ShowExportFailText();

private:
    Ui::InportFail* ui;
    QString exportFailText_;
};
