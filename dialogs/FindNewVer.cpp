#include "dialogs/FindNewVer.h"

#include "core/StyleSheet.h"
#include "ui_FindNewVer.h"

FindNewVer::FindNewVer(QWidget* parent)
    : MessageNotice(parent)
    , ui(new Ui::FindNewVer)
{
    ui->setupUi(this);
    ui->NoApear->setStyleSheet(StyleSheet::CheckBoxRule(PictureFolder(), QStringLiteral("LabelColor")));
    Frame frame = NewHongFrame(ui, ui->SameMacroA, QStringLiteral("NewVer"));
    frame.texts.append({QStringLiteral("NoApear"), LanguageTexts::TextOf(ui->NoApear)});
    SetUpFrame(frame);
}

FindNewVer::~FindNewVer()
{
    delete ui;
}
