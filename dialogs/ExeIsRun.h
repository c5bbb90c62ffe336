#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class ExeIsRun;
}

// Notice that the program runs already (at start-up), or, in the macro
// editor, that a macro has to be chosen or the recording stopped first, or
// that an action on a macro failed. Return closes it.
class ExeIsRun : public MessageNotice {
    Q_OBJECT
public:
    explicit ExeIsRun(QWidget* parent = nullptr);
    ~ExeIsRun() override;

    // Put the kept "label_2" / "PleaseStop" texts on the label.
    void ShowSecondText();
    void ShowPleaseStopText();

    // The macro editor's failures, each with its kept text ("SaveFail",
    // "RenameFail", "DeleteFail", "ExportFail", "ImportFail", "NameFail",
    // "NewFail": a new macro's file, "ImportSaveFail": an imported macro's
    // file cannot be written).
    enum class Failure { Save, Rename, Delete, Export, Import, Name, New, ImportSave };
    static constexpr int FailureCount = 8;
    void ShowFailure(Failure failure);

private:
    Ui::ExeIsRun* ui;
    QString secondText_;
    QString pleaseStopText_;
    QString failureTexts_[FailureCount];
};
