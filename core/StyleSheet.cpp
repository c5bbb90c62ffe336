#include "core/StyleSheet.h"

#include "core/ProductDescription.h"

#include <QCoreApplication>
#include <QPixmapCache>
#include <QStringList>

namespace {
// Kilobytes: all picture folders decoded take about 9 MB; Qt's own default
// (10 MB) leaves the pages' pictures no room.
constexpr int PictureCacheKb = 64 * 1024;
} // namespace

QString StyleSheet::PictureFolder(const QString& folder)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Picture/") + folder
        + QLatin1Char('/');
}

void StyleSheet::KeepPicturesDecoded()
{
    if (QPixmapCache::cacheLimit() < PictureCacheKb)
        QPixmapCache::setCacheLimit(PictureCacheKb);
}

QString StyleSheet::DefaultColour()
{
    return ProductDescription::DefaultColour();
}

QString StyleSheet::DisabledColour()
{
    return QStringLiteral("92,98,107");
}

QString StyleSheet::PictureRule(const QString& selector, const QString& pictureFolder, const QString& picture,
                                const QString& textColour)
{
    QString rule = selector
        + QStringLiteral("{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(")
        + pictureFolder + picture + QStringLiteral(");");
    if (!textColour.isEmpty())
        rule += QStringLiteral("color: rgb(") + textColour + QStringLiteral(");");
    return rule + QLatin1Char('}');
}

QString StyleSheet::StretchedPictureRule(const QString& selector, const QString& pictureFolder,
                                         const QString& picture)
{
    return selector + QStringLiteral("{border-image: url(") + pictureFolder + picture + QStringLiteral(");}");
}

QString StyleSheet::ColourText(const QString& key)
{
    return ProductDescription::Instance().Option().Colour(key);
}

QString StyleSheet::ColourText(const QStringList& items)
{
    return ProductDescription::ColourText(items);
}

QString StyleSheet::ColourRule(const QString& selector, const QString& colourKey)
{
    return selector + QStringLiteral("{color: rgb(") + ColourText(colourKey) + QStringLiteral(";);}");
}

QString StyleSheet::ConfirmRule(const QString& pictureFolder, const QString& colourKey,
                                const QString& picture, const QString& pressedPicture)
{
    return QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;"
                          "color: rgb(")
        + ColourText(colourKey) + QStringLiteral(";);border-image: url(") + pictureFolder + picture
        + QStringLiteral(");}QToolButton:pressed{border-image: url(") + pictureFolder + pressedPicture
        + QStringLiteral("); }");
}

QString StyleSheet::IconButtonRule(const QString& pictureFolder, const QString& picture,
                                   const QString& hoverPicture, const QString& pressedPicture)
{
    return QStringLiteral("QToolButton{border:0px;background-image: url(") + pictureFolder + picture
        + QStringLiteral(");background-position:center;background-repeat:no-repeat;}"
                         "QToolButton:hover{background-image: url(")
        + pictureFolder + hoverPicture
        + QStringLiteral(");}QToolButton:pressed{background-image: url(") + pictureFolder
        + pressedPicture + QStringLiteral(");}");
}

QString StyleSheet::ToggleButtonRule(const QString& pictureFolder, const QString& picture,
                                     const QString& hoverPicture, const QString& checkedPicture)
{
    return QStringLiteral("QToolButton{border: 0px;background-position:center;background-repeat:no-repeat;"
                          "background-image: url(")
        + pictureFolder + picture + QStringLiteral(");}QToolButton:hover{background-image:  url(") + pictureFolder
        + hoverPicture + QStringLiteral(");}QToolButton:checked{background-image: url(") + pictureFolder
        + checkedPicture + QStringLiteral(");}");
}

QString StyleSheet::CloseRule(const QString& pictureFolder)
{
    return IconButtonRule(pictureFolder, QStringLiteral("Close.png"), QStringLiteral("CloseHover.png"),
                          QStringLiteral("CloseClick.png"));
}

QString StyleSheet::BackgroundRule(const QString& frameName, const QString& pictureFolder,
                                   const QString& picture)
{
    return PictureRule(QLatin1Char('#') + frameName, pictureFolder, picture);
}

QPalette StyleSheet::DarkPalette()
{
    const QColor window(0x17, 0x19, 0x1E);
    const QColor panel(0x22, 0x25, 0x2C);
    const QColor text(0xE6, 0xE8, 0xEB);
    const QColor secondary(0x9A, 0xA0, 0xA8);
    const QColor disabled(0x5C, 0x62, 0x6B);
    const QColor accent(0x19, 0xC3, 0xA2);
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, panel);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::PlaceholderText, secondary);
    palette.setColor(QPalette::Button, panel);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, window);
    palette.setColor(QPalette::ToolTipBase, panel);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Light, QColor(0x4A, 0x50, 0x5A));
    palette.setColor(QPalette::Midlight, QColor(0x33, 0x37, 0x3F));
    palette.setColor(QPalette::Mid, QColor(0x33, 0x37, 0x3F));
    palette.setColor(QPalette::Dark, window);
    palette.setColor(QPalette::Shadow, QColor(0, 0, 0));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    return palette;
}

QString StyleSheet::CheckBoxRule(const QString& pictureFolder, const QString& colourKey)
{
    return QStringLiteral("QCheckBox{color: rgb(") + ColourText(colourKey)
        + QStringLiteral(";);}QCheckBox::indicator:checked {image: url(") + pictureFolder
        + QStringLiteral("CheckBoxCheck.png);}QCheckBox::indicator:unchecked {image: url(")
        + pictureFolder + QStringLiteral("CheckBox.png);}");
}

QString StyleSheet::ChoiceBoxRule(const QString& pictureFolder)
{
    return QStringLiteral("QCheckBox{color: rgb(") + ColourText(QStringLiteral("LabelColor"))
        + QStringLiteral(";);}QCheckBox:indicator::checked {image: url(") + pictureFolder
        + QStringLiteral("LODCheck.png);}QCheckBox::indicator::unchecked {image: url(") + pictureFolder
        + QStringLiteral("LOD.png);}QCheckBox:disabled{color: rgb(") + DisabledColour() + QStringLiteral(");}");
}

QString StyleSheet::ComboBoxRule(const QString& pictureFolder)
{
    const QString text = ColourText(QStringLiteral("ComboxTextColor"));
    return QStringLiteral("QComboBox{border: 1px solid gray; color: rgb(") + text
        + QStringLiteral("); border-image: url(") + pictureFolder
        + QStringLiteral("ComboboxBack.png);}QComboBox::drop-down:button{border-radius:5px; background:rgb(")
        + ColourText(QStringLiteral("ComboxBackGroundColor"))
        + QStringLiteral(");} QComboBox::down-arrow{image: url(") + pictureFolder
        + QStringLiteral("Menu.png); right: %1px; }QComboBox::down-arrow:on{ image: url(").arg(ComboArrowInset)
        + pictureFolder
        + QStringLiteral("MenuClicked.png);}QComboBox QAbstractItemView::item{height:25px;}"
                         "QComboBox QAbstractItemView {outline: 0px solid gray; border: 1px  solid gray;color: rgb(")
        + text + QStringLiteral("); border-image: url(") + pictureFolder
        + QStringLiteral("ComboboxTextBack.png);selection-background-color: rgb(")
        + ColourText(QStringLiteral("ComboxSelectColor"))
        + QStringLiteral("); }QComboBox:disabled{color: rgb(") + DisabledColour() + QStringLiteral(");}");
}

QString StyleSheet::HandleSliderRule(const QString& pictureFolder, int grooveRadius)
{
    return QStringLiteral("QSlider:groove:horizontal{height:2px;left: 0px;right: 0px;border:0px;border-radius:%1px;"
                          "background:rgba(0,0,0,50);}QSlider:handle:horizontal{ width:  5px;height: 50px;  "
                          "margin-top: -20px;margin-left: 0px; margin-bottom: -20px;margin-right: 0px; "
                          "border-image: url(")
               .arg(grooveRadius)
        + pictureFolder + QStringLiteral("HuaKuai.png);} QSlider:sub-page:horizontal{background-color: rgb(")
        + ColourText(QStringLiteral("SliderColor"))
        + QStringLiteral(";);}QSlider:add-page:horizontal{background-color: rgb(255, 255, 255);}");
}

QString StyleSheet::ValueBoxRule()
{
    const QString colour = ColourText(QStringLiteral("LinEditColorSecond"));
    return QStringLiteral("QSpinBox{background-color: transparent;color: rgb(") + colour
        + QStringLiteral(";);border: 1px  solid gray;}QSpinBox:hover{background-color: transparent;color: rgb(")
        + colour + QStringLiteral(";);border: 1px  solid gray;}");
}

QString StyleSheet::ComboListRule()
{
    const QString select = ColourText(QStringLiteral("ComboxSelectColor"));
    // The list's own scroll bar, so that no page's scroll bar rules reach it.
    const QPalette palette = DarkPalette();
    return QStringLiteral("QListView::item:selected{background-color: rgb(") + select
        + QStringLiteral(");}QListView::item:hover{background-color: rgb(") + select
        + QStringLiteral(");}QScrollBar:vertical{width: 10px; margin: 0px; border: none; background: ")
        + palette.color(QPalette::Window).name()
        + QStringLiteral(";}QScrollBar::handle:vertical{min-height: 20px; margin: 2px; border-radius: 3px; background: ")
        + palette.color(QPalette::Light).name()
        + QStringLiteral(";}QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical{height: 0px; border: none;}"
                         "QScrollBar::up-arrow:vertical, QScrollBar::down-arrow:vertical{image: none; border: none;}"
                         "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical{background: transparent;}");
}

QString StyleSheet::MenuRule()
{
    return QStringLiteral("QMenu{background-color: rgb(") + ColourText(QStringLiteral("ComboxBackGroundColor"))
        + QStringLiteral("); color: rgb(") + ColourText(QStringLiteral("LabelColor"))
        + QStringLiteral("); border: 1px solid rgb(51, 55, 63); padding: 4px 0px;}"
                         "QMenu::item{padding: 6px 24px; background-color: transparent;}"
                         "QMenu::item:selected{background-color: rgb(")
        + ColourText(QStringLiteral("ComboxSelectColor"))
        + QStringLiteral(");}QMenu::separator{height: 1px; background-color: rgb(51, 55, 63); margin: 4px 8px;}");
}

QString StyleSheet::StandardDialogRule(const QString& pictureFolder)
{
    const QPalette palette = DarkPalette();
    const QString window = palette.color(QPalette::Window).name();
    const QString panel = palette.color(QPalette::Base).name();
    const QString text = palette.color(QPalette::Text).name();
    const QString secondary = palette.color(QPalette::PlaceholderText).name();
    const QString disabled = palette.color(QPalette::Disabled, QPalette::Text).name();
    const QString accent = palette.color(QPalette::Highlight).name();
    const QString hover = palette.color(QPalette::Highlight).lighter(130).name();
    const QString pressed = palette.color(QPalette::Highlight).darker(130).name();
    const QString edge = palette.color(QPalette::Mid).name();
    const QString handle = palette.color(QPalette::Light).name();
    QString rule = QStringLiteral(
        "QDialog{background-color: %WINDOW%;}"
        "QWidget{color: %TEXT%;}"
        "QLabel{color: %TEXT%; background: transparent;}"
        "QLabel:disabled{color: %DISABLED%;}"
        "QLineEdit, QSpinBox, QComboBox{background-color: %PANEL%; color: %TEXT%; border: 1px solid %EDGE%;"
        " border-radius: 3px; padding: 2px 4px; selection-background-color: %ACCENT%; selection-color: %WINDOW%;}"
        "QLineEdit:focus, QSpinBox:focus, QComboBox:focus, QComboBox:on{border-color: %ACCENT%;}"
        "QLineEdit:disabled, QSpinBox:disabled, QComboBox:disabled{color: %DISABLED%;}"
        "QComboBox::drop-down{border: none; width: 18px;}"
        "QComboBox::down-arrow{image: url(%FOLDER%ArrowDown.png);}"
        "QSpinBox{padding-right: 16px;}"
        "QSpinBox::up-button, QSpinBox::down-button{border: none; background: transparent; width: 14px;}"
        "QSpinBox::up-button:hover, QSpinBox::down-button:hover{background-color: %EDGE%;}"
        "QSpinBox::up-arrow{image: url(%FOLDER%ArrowUp.png); width: 10px; height: 10px;}"
        "QSpinBox::down-arrow{image: url(%FOLDER%ArrowDown.png); width: 10px; height: 10px;}"
        "QComboBox QAbstractItemView{background-color: %PANEL%; color: %TEXT%; border: 1px solid %EDGE%;"
        " selection-background-color: %ACCENT%; selection-color: %WINDOW%; outline: 0px;}"
        "QTreeView, QListView{background-color: %PANEL%; alternate-background-color: %WINDOW%; color: %TEXT%;"
        " border: 1px solid %EDGE%; selection-background-color: %ACCENT%; selection-color: %WINDOW%; outline: 0px;}"
        "QTreeView::item:hover, QListView::item:hover{background-color: %EDGE%;}"
        "QTreeView::item:selected, QListView::item:selected{background-color: %ACCENT%; color: %WINDOW%;}"
        "QHeaderView{background-color: %WINDOW%;}"
        "QHeaderView::section{background-color: %WINDOW%; color: %SECONDARY%; border: none;"
        " border-right: 1px solid %EDGE%; border-bottom: 1px solid %EDGE%; padding: 3px 6px;}"
        "QPushButton{background-color: %PANEL%; color: %TEXT%; border: 1px solid %EDGE%; border-radius: 4px;"
        " padding: 4px 14px; min-width: 60px;}"
        "QPushButton:hover{border-color: %HOVER%;}"
        "QPushButton:default{border-color: %ACCENT%;}"
        "QPushButton:pressed, QPushButton:checked{background-color: %PRESSED%; color: %WINDOW%;}"
        "QPushButton:disabled{color: %DISABLED%; border-color: %EDGE%;}"
        "QToolButton{background: transparent; border: 1px solid transparent; border-radius: 3px; padding: 2px;}"
        "QToolButton:hover{border-color: %HOVER%;}"
        "QToolButton:pressed, QToolButton:checked{background-color: %EDGE%; border-color: %ACCENT%;}"
        "QScrollBar:vertical{background: %WINDOW%; width: 12px; margin: 0px;}"
        "QScrollBar:horizontal{background: %WINDOW%; height: 12px; margin: 0px;}"
        "QScrollBar::handle{background: %HANDLE%; border-radius: 4px; margin: 2px;}"
        "QScrollBar::handle:vertical{min-height: 24px;}"
        "QScrollBar::handle:horizontal{min-width: 24px;}"
        "QScrollBar::add-line, QScrollBar::sub-line{width: 0px; height: 0px;}"
        "QScrollBar::add-page, QScrollBar::sub-page{background: transparent;}"
        "QSplitter::handle{background-color: %EDGE%;}"
        "QToolTip{background-color: %PANEL%; color: %TEXT%; border: 1px solid %EDGE%;}");
    rule.replace(QStringLiteral("%FOLDER%"), pictureFolder)
        .replace(QStringLiteral("%WINDOW%"), window)
        .replace(QStringLiteral("%PANEL%"), panel)
        .replace(QStringLiteral("%TEXT%"), text)
        .replace(QStringLiteral("%SECONDARY%"), secondary)
        .replace(QStringLiteral("%DISABLED%"), disabled)
        .replace(QStringLiteral("%ACCENT%"), accent)
        .replace(QStringLiteral("%HOVER%"), hover)
        .replace(QStringLiteral("%PRESSED%"), pressed)
        .replace(QStringLiteral("%EDGE%"), edge)
        .replace(QStringLiteral("%HANDLE%"), handle);
    return rule;
}
