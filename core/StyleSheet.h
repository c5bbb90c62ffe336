#pragma once

#include <QPalette>
#include <QString>
#include <QStringList>

// The style sheets of the program's windows, built from the pictures beside
// the program and the colours of Config.ini's "Option" group. Every window
// takes its rules from here, so the pieces are written once.
class StyleSheet {
public:
    // The folder of a window's pictures: <program folder>/Picture/<folder>/.
    static QString PictureFolder(const QString& folder);
    // Every picture is decoded once: the style sheets load pictures through
    // the application's pixmap cache, which is made large enough here to
    // hold all picture folders, so that a window or dialog made again finds
    // its pictures decoded. Once at start, after the application object.
    static void KeepPicturesDecoded();

    // The colour of an "Option" key as "r,g,b". A key without three numbers
    // from 0 to 255 gives the program's text colour.
    static QString ColourText(const QString& key);
    // The same for the items of a colour list (ProductDescription::ColourText).
    static QString ColourText(const QStringList& items);
    static QString DefaultColour();
    // The text colour of disabled controls, "r,g,b".
    static QString DisabledColour();

    // A picture of the folder drawn centred, unscaled, without a border:
    // selector{border:0px;background-position:center;background-repeat:no-repeat;
    // background-image: url(<folder><picture>);}, with "color: rgb(<textColour>);"
    // in the same rule when a text colour ("r,g,b") is given.
    static QString PictureRule(const QString& selector, const QString& pictureFolder, const QString& picture,
                               const QString& textColour = QString());
    // A picture of the folder stretched over the whole widget:
    // selector{border-image: url(<folder><picture>);}.
    static QString StretchedPictureRule(const QString& selector, const QString& pictureFolder,
                                        const QString& picture);

    // selector{color: rgb(<colour>;);}  e.g. the label rule with "QLabel".
    static QString ColourRule(const QString& selector, const QString& colourKey);
    // A tool button with a text colour and a picture stretched over it, and
    // another picture while it is pressed.
    static QString ConfirmRule(const QString& pictureFolder, const QString& colourKey,
                               const QString& picture = QStringLiteral("Confirm.png"),
                               const QString& pressedPicture = QStringLiteral("ConfirmClick.png"));
    // A tool button drawn by a centred picture, with hover and pressed pictures.
    static QString IconButtonRule(const QString& pictureFolder, const QString& picture,
                                  const QString& hoverPicture, const QString& pressedPicture);
    // A checkable tool button drawn by a centred picture, with hover and
    // checked pictures.
    static QString ToggleButtonRule(const QString& pictureFolder, const QString& picture,
                                    const QString& hoverPicture, const QString& checkedPicture);
    // The close button of the dialogs: Close.png, CloseHover.png, CloseClick.png.
    static QString CloseRule(const QString& pictureFolder);
    // The centred background picture of one frame (by object name), not of
    // its children.
    static QString BackgroundRule(const QString& frameName, const QString& pictureFolder,
                                  const QString& picture = QStringLiteral("BackGround.png"));
    // The dark palette of the program's windows: what their style sheets
    // leave open (window ground, fields, selections) is drawn in it.
    static QPalette DarkPalette();

    // A check box with a text colour and the CheckBox.png / CheckBoxCheck.png
    // indicator pictures.
    static QString CheckBoxRule(const QString& pictureFolder, const QString& colourKey);
    // A check box of one choice among several: the label colour, grey while
    // disabled, and the LODCheck.png / LOD.png indicators.
    static QString ChoiceBoxRule(const QString& pictureFolder);

    // A drop-down list drawn with ComboboxBack.png, ComboboxTextBack.png,
    // Menu.png and MenuClicked.png, in the "Combox..." colours; its text in
    // the disabled colour while it is disabled. Its arrow is drawn
    // ComboArrowInset pixels left of the arrow's own area, into the text field.
    static QString ComboBoxRule(const QString& pictureFolder);
    static constexpr int ComboArrowInset = 8;
    // The list view of such a drop-down list: selected and hovered entries
    // in the selection colour, a slim scroll bar of the theme.
    static QString ComboListRule();
    // A thin horizontal slider: a 2 px groove with corners of grooveRadius,
    // the "HuaKuai.png" handle of the folder, the part before the handle in
    // "SliderColor" and the rest white.
    static QString HandleSliderRule(const QString& pictureFolder, int grooveRadius);
    // A read-only value box beside such a slider: transparent, its text in
    // "LinEditColorSecond", a grey hair-line border, the same on hover.
    static QString ValueBoxRule();

    // A pop-up menu (the tray's) on the panel ground with a hair-line
    // border, light text, the hovered item in the selection colour.
    static QString MenuRule();
    // Qt's own dialogs (file chooser, colour dialog): every kind of control
    // they hold in the colours of DarkPalette(), the accent for what has the
    // focus, is selected or pressed; the arrows of their number fields and
    // drop-down lists are the folder's ArrowUp.png and ArrowDown.png.
    static QString StandardDialogRule(const QString& pictureFolder);
};
