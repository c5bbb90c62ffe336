#include "pages/buttons/ButtonPageTexts.h"

#include "pages/buttons/ButtonFunctionTable.h"
#include "ui_Buttoninterface.h"

namespace {
// The debounce list's unit texts "S1" ... "S20".
constexpr int DebounceUnits = 21;
} // namespace

QVector<LanguageTexts::Child> ButtonPageTexts::Children(Ui::Buttoninterface* ui, const QVector<QToolButton*>& labels,
                                                       const ButtonFunctionTable& functions, QString* macroPrefix,
                                                       QString* profilePrefix)
{
    QVector<LanguageTexts::Child> children;
    children.append({QStringLiteral("Reset"), LanguageTexts::TextOf(ui->Reset)});
    children.append({QStringLiteral("ImportData"), LanguageTexts::TextWithJapaneseToolTip(ui->ImportData)});
    children.append({QStringLiteral("OutputData"), LanguageTexts::TextWithJapaneseToolTip(ui->OutputData)});
    QVector<QToolButton*> named;
    named << labels << functions.ListButtons() << functions.ConsumerButtons();
    for (QToolButton* button : {ui->VolumeUp_4, ui->VolumeUp_5, ui->VolumeUp_6, ui->VolumeUp_7, ui->VolumeUp_2,
                                ui->VolumeDown_2, ui->VolumeUp_14, ui->VolumeDown_14, ui->VolumeUp_8})
        named << button;
    for (QToolButton* button : qAsConst(named))
        children.append({button->objectName(), LanguageTexts::TextOf(button)});
    children.append({QStringLiteral("checkBox"), LanguageTexts::TextOf(ui->label_3)});
    children.append({QStringLiteral("Macro_"), LanguageTexts::Keep(macroPrefix)});
    children.append({QStringLiteral("Config"), LanguageTexts::Keep(profilePrefix)});
    DebounceTime* debounce = ui->DebunceButton;
    for (int k = 1; k < DebounceUnits; ++k) {
        children.append({QStringLiteral("S%1").arg(k), [debounce, k](const QString& text) {
                             debounce->SetItemSuffix(k - 1, text);
                             // The last unit text also names the last entry.
                             if (k == DebounceUnits - 1)
                                 debounce->SetItemSuffix(k, text);
                         }});
    }
    return children;
}
