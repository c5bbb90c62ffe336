#include "pages/macro/MacroPageTexts.h"

#include "core/SharedState.h"
#include "ui_Macro.h"

QVector<LanguageTexts::Child> MacroPageTexts::Children(Ui::Macro* ui, QString* realText, QStringList* menuTexts)
{
    const auto onWidget = [](auto* widget) { return LanguageTexts::TextOf(widget); };
    QVector<LanguageTexts::Child> children = {
        {QStringLiteral("label"), onWidget(ui->label)},
        {QStringLiteral("label_2"), onWidget(ui->label_2)},
        {QStringLiteral("NewHong"), LanguageTexts::TextWithJapaneseToolTip(ui->NewHong)},
        {QStringLiteral("DeleteHong"), onWidget(ui->DeleteHong)},
        {QStringLiteral("Amend"), onWidget(ui->Amend)},
        {QStringLiteral("DeleteKey"), onWidget(ui->DeleteKey)},
        {QStringLiteral("MacroReal"), LanguageTexts::Keep(realText)},
        {QStringLiteral("StartRecord"), onWidget(ui->StartRecord)},
        {QStringLiteral("StopRecord"), onWidget(ui->StopRecord)},
        {QStringLiteral("AutoInsertDelay"), onWidget(ui->AutoInsertDelayLabel)},
        {QStringLiteral("DefaultDelay"), onWidget(ui->DefaultDelay)},
        {QStringLiteral("ReUntilLoose"), onWidget(ui->ReUntilLooseLabel)},
        {QStringLiteral("ReUntilClick"), onWidget(ui->ReUntilClickLabel)},
        {QStringLiteral("ReUntil"), onWidget(ui->ReUntilLabel)},
        {QStringLiteral("ReNumber"), onWidget(ui->ReNumber)},
        {QStringLiteral("label_3"), onWidget(ui->label_3)},
        {QStringLiteral("Save"), onWidget(ui->Save)},
    };
    for (int item = 1; item <= 8; ++item) {
        children.append({QStringLiteral("ChooseEvent%1").arg(item), [ui, item](const QString& text) {
                             ui->ChooseEvent->setItemText(item, text);
                             if (item >= 4)
                                 MouseButtonNames[item - 4] = text;
                         }});
    }
    for (int key = 0; key < 5; ++key)
        children.append({QStringLiteral("Key%1").arg(key + 1), LanguageTexts::Keep(&(*menuTexts)[key])});
    return children;
}
