#include "pages/macro/MacroPageStyle.h"

#include "core/StyleSheet.h"
#include "ui_Macro.h"

#include <QListView>

void MacroPageStyle::Apply(Ui::Macro* ui, const QString& pictureFolder, const QString& buttonColour)
{
    const QString lists = QStringLiteral(
        "{background-color: rgb(34, 37, 44);color: rgb(255, 255, 255);outline: 0px;"
        "border: 1px solid rgb(51, 55, 63);border-radius: 4px;padding: 4px;}"
        "QListWidget::item{padding: 3px 2px;}"
        "QListWidget::item:selected:active,QListWidget::item:selected:!active{background: rgb(%1);color: rgb(255, 255, 255);}"
        "QListWidget::item:hover{background: transparent;}"
        "QScrollBar:vertical{width: 20px;margin: 22px 0 22px 0;background: rgb(30,30,30);}"
        "QScrollBar::handle:vertical{background: rgb(117, 117, 117);border-radius: 3px;min-height: 30px;margin: 2px 4px 2px 6px;}"
        "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{height: 25px;background: rgb(30,30,30);}"
        "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{background: rgb(30,30,30);}")
        .arg(StyleSheet::ColourText(QStringLiteral("ComboxSelectColor")));
    const QString arrows = QStringLiteral("QScrollBar::up-arrow:vertical{border-image: url(") + pictureFolder
        + QStringLiteral("Up.png);width: 15px;height: 15px;margin: 1px 2px 1px 4px;}"
                         "QScrollBar::down-arrow:vertical {border-image: url(")
        + pictureFolder + QStringLiteral("Down.png);width: 15px;height: 15px;\tmargin: 1px 2px 1px 4px;}");
    ui->listWidgetHong->setStyleSheet(QStringLiteral("#listWidgetHong") + lists + arrows);
    ui->listWidgetKey->setStyleSheet(QStringLiteral("#listWidgetKey") + lists + arrows);

    ui->ChooseEvent->setStyleSheet(StyleSheet::ComboBoxRule(pictureFolder));
    auto* view = new QListView(ui->ChooseEvent);
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->ChooseEvent->setMaxVisibleItems(5);
    ui->ChooseEvent->setView(view);

    const QString label = StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor"));
    for (QLabel* text : {ui->label, ui->label_2, ui->label_3, ui->AutoInsertDelayLabel, ui->ReUntilLabel,
                         ui->ReUntilClickLabel, ui->ReUntilLooseLabel})
        text->setStyleSheet(label);
    const QString check = StyleSheet::CheckBoxRule(pictureFolder, QStringLiteral("LabelColor"));
    for (QCheckBox* box : {ui->AutoInsertDelay, ui->DefaultDelay, ui->ReUntilLoose, ui->ReUntilClick, ui->ReUntil,
                           ui->ReNumber})
        box->setStyleSheet(check);
    const QString active = ButtonRule(pictureFolder, buttonColour);
    for (QToolButton* button : {ui->NewHong, ui->DeleteHong, ui->Amend, ui->DeleteKey})
        button->setStyleSheet(active);
    const auto record = [&](const QString& picture, const QString& hover) {
        return StyleSheet::PictureRule(QStringLiteral("QPushButton"), pictureFolder, picture, buttonColour)
            + StyleSheet::PictureRule(QStringLiteral("QPushButton:hover"), pictureFolder, hover);
    };
    ui->StartRecord->setStyleSheet(record(QStringLiteral("Record.png"), QStringLiteral("RecordHover.png")));
    ui->StopRecord->setStyleSheet(record(QStringLiteral("Stop.png"), QStringLiteral("StopHover.png")));
    const QString spin = QStringLiteral("QSpinBox{background-color: rgb(63, 63, 63);color: rgb(")
        + StyleSheet::ColourText(QStringLiteral("LinEditColorSecond")) + QStringLiteral(";);border: none;}");
    ui->DelayTime->setStyleSheet(spin);
    ui->NumberEdit->setStyleSheet(spin);
}

QString MacroPageStyle::ButtonRule(const QString& pictureFolder, const QString& textColour)
{
    return StyleSheet::PictureRule(QStringLiteral("QToolButton"), pictureFolder, QStringLiteral("Button.png"),
                                   textColour)
        + StyleSheet::PictureRule(QStringLiteral("QToolButton:hover"), pictureFolder, QStringLiteral("ButtonHover.png"))
        + StyleSheet::PictureRule(QStringLiteral("QToolButton:pressed"), pictureFolder,
                                  QStringLiteral("ButtonClick.png"));
}

QString MacroPageStyle::InactiveButtonRule(const QString& pictureFolder)
{
    return StyleSheet::PictureRule(QStringLiteral("QToolButton"), pictureFolder, QStringLiteral("Button.png"),
                                   StyleSheet::DisabledColour());
}
