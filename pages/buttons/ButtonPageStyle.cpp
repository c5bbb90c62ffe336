#include "pages/buttons/ButtonPageStyle.h"

#include "core/StyleSheet.h"
#include "pages/buttons/ButtonFunctionTable.h"
#include "ui_Buttoninterface.h"

#include <QListView>

void ButtonPageStyle::Apply(Ui::Buttoninterface* ui, const ButtonFunctionTable& functions, const QString& pictureDir,
                            const QString& buttonColour, const QVector<QToolButton*>& markers)
{
    const QString transparent = QStringLiteral("background-color:transparent;border:none;");
    const QString colour = QStringLiteral("color: rgb(") + buttonColour + QStringLiteral(";);");
    const QString panelPage = QStringLiteral("QToolButton{") + colour + QStringLiteral("border-image: url(")
        + pictureDir + QStringLiteral("CMenuTitle.png);}QToolButton:checked{") + colour
        + QStringLiteral("border-image: url(") + pictureDir + QStringLiteral("CMenuTitleChecked.png); }");
    for (QWidget* contents : {ui->scrollAreaWidgetContents_3, ui->scrollAreaWidgetContents_4,
                              ui->scrollAreaWidgetContents_6, ui->scrollAreaWidgetContents_8,
                              ui->scrollAreaWidgetContents_9, ui->scrollAreaWidgetContents_12,
                              ui->scrollAreaWidgetContents_10})
        contents->setStyleSheet(transparent);
    for (QWidget* page : {ui->page_3, ui->page_9, ui->page_4, ui->page_6, ui->page_7, ui->page_10, ui->page_8})
        page->setStyleSheet(panelPage);
    ui->scrollAreaWidgetContents_11->setStyleSheet(
        QStringLiteral("#scrollAreaWidgetContents_11{background-color:transparent;border:none;}"
                       "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;")
        + colour + QStringLiteral("background-image: url(") + pictureDir
        + QStringLiteral("AMenuTitle.png);}QToolButton:checked{background-image: url(") + pictureDir
        + QStringLiteral("AMenuTitleChecked.png); }QToolButton:unchecked{background-image: url(") + pictureDir
        + QStringLiteral("AMenuTitle.png); }QLabel{color: rgb(0, 0, 0);border:0px;background-position:center;"
                         "background-repeat:no-repeat;background-image: url(")
        + pictureDir + QStringLiteral("LabelNumber.png);}"));
    ui->scrollArea_11->setFrameShape(QFrame::NoFrame);
    ui->groupBox_4->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));
    ui->groupBox_2->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));

    ui->ProjectChoose->setStyleSheet(StyleSheet::ComboBoxRule(pictureDir));
    auto* view = new QListView;
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->ProjectChoose->setView(view);

    ui->label_3->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
    const QString pageButton = QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:"
                                              "no-repeat;")
        + colour + QStringLiteral("border-image: url(") + pictureDir
        + QStringLiteral("Reset.png);}QToolButton:hover{border-image: url(") + pictureDir
        + QStringLiteral("ResetHover.png); }QToolButton:pressed{border-image: url(") + pictureDir
        + QStringLiteral("ResetClick.png); }");
    for (QToolButton* button : {ui->Reset, ui->ImportData, ui->OutputData})
        button->setStyleSheet(pageButton);
    const QString marker = QStringLiteral("QToolButton{color: rgb(0, 0, 0);border:0px;background-position:center;"
                                          "background-repeat:no-repeat;background-image: url(")
        + pictureDir + QStringLiteral("NumberOrigin.png);}QToolButton:hover{background-image: url(") + pictureDir
        + QStringLiteral("NumberHover.png);}QToolButton:pressed{padding-left: 0px;background-image: url(") + pictureDir
        + QStringLiteral("NumberClick.png);}");
    for (QToolButton* button : markers)
        button->setStyleSheet(marker);
    const auto listSheet = [&pictureDir](const QString& suffix) {
        return QStringLiteral("QToolButton{border:0px;color: rgb(255,255,255);background-position:center;"
                              "background-repeat:no-repeat;background-image: url(")
            + pictureDir + QStringLiteral("BMenuTitle") + suffix
            + QStringLiteral(".png);}QToolButton:checked{color: rgb(255,255,255);background-image: url(") + pictureDir
            + QStringLiteral("BMenuTitleChecked") + suffix + QStringLiteral(".png);}");
    };
    // An entry that opens a sub-list has the picture with its arrow.
    for (QToolButton* button : functions.ListButtons())
        button->setStyleSheet(listSheet(functions.OpensPanel(button) ? QStringLiteral("B") : QString()));
    ui->label->setStyleSheet(StyleSheet::PictureRule(QStringLiteral("#label"), pictureDir, QStringLiteral("Config.png"),
                                                     QStringLiteral("255, 255, 255")));
}

void ButtonPageStyle::ApplyFrames(Ui::Buttoninterface* ui, const QString& pictureDir)
{
    ui->groupBox->setStyleSheet(QStringLiteral("#groupBox {border: 0;background-image: url(") + pictureDir
                                + QStringLiteral("TiltleBack.png);}"));
    for (QWidget* framed : {static_cast<QWidget*>(ui->groupBox_4), static_cast<QWidget*>(ui->groupBox_2),
                            static_cast<QWidget*>(ui->scrollArea_4), static_cast<QWidget*>(ui->scrollArea_3),
                            static_cast<QWidget*>(ui->scrollArea_7), static_cast<QWidget*>(ui->scrollArea_8),
                            static_cast<QWidget*>(ui->scrollArea_10), static_cast<QWidget*>(ui->scrollArea_6),
                            static_cast<QWidget*>(ui->scrollArea_9), static_cast<QWidget*>(ui->scrollArea_12)})
        framed->setStyleSheet(QStringLiteral("#%1 {border: 0;}").arg(framed->objectName()));
}

QString ButtonPageStyle::MacroButtonRule(const QString& pictureDir, const QString& buttonColour)
{
    return QStringLiteral("QToolButton{color: rgb(") + buttonColour + QStringLiteral(";);border-image: url(")
        + pictureDir
        + QStringLiteral("CMenuTitle.png);}QToolButton:hover{background-image: none;}"
                         "QToolButton:checked{border-image: url(")
        + pictureDir + QStringLiteral("CMenuTitleChecked.png);}");
}

QString ButtonPageStyle::MouseRule(const QString& pictureDir)
{
    return QStringLiteral("#widget{border:0px;background-position:center;background-repeat:no-repeat;"
                          "background-image: url(")
        + pictureDir + QStringLiteral("mouse0.png);}");
}

QString ButtonPageStyle::ScrollBarWidth(int pixels)
{
    return QStringLiteral("QScrollBar {width:%1px;}").arg(pixels);
}
