#include "dialogs/MessageDialog.h"

#include "core/StyleSheet.h"
#include "dialogs/DialogPlacement.h"

#include <QAbstractButton>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace {
// Left and right inner margin of a dialog's text.
constexpr int LabelMargin = 10;
} // namespace

MessageDialog::MessageDialog(QWidget* parent)
    : QDialog(parent)
    , pictureFolder_(StyleSheet::PictureFolder(QStringLiteral("WarningDialog")))
{
    setPalette(StyleSheet::DarkPalette());
}

MessageDialog::~MessageDialog() = default;

Qt::WindowFlags MessageDialog::FamilyFlags()
{
    // 0x6C12. On X11 the window-manager bypass makes an unmanaged window, and
    // Qt gives it the keyboard focus itself when it opens modally and when it
    // is clicked, with or without a window manager: keys reach the key-entry
    // dialogs, Escape and Return every dialog. (A managed frameless dialog
    // does not get the focus back under openbox after a click on the window
    // behind it.)
    return Qt::SubWindow | Qt::BypassWindowManagerHint | Qt::FramelessWindowHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint;
}

void MessageDialog::SetUpFrame(const Frame& frame)
{
    LanguageTexts::Follow(this);
    setWindowFlags(FamilyFlags());
    // Text fields and spin boxes draw their ground from the palette; it has
    // to be set before the frame's style sheet polishes them again.
    const QList<QWidget*> children = findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (qobject_cast<QLineEdit*>(child) || qobject_cast<QAbstractSpinBox*>(child))
            child->setPalette(StyleSheet::DarkPalette());
    }
    if (frame.label) {
        frame.label->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
        // Long texts wrap inside an inner margin instead of touching the edges.
        frame.label->setWordWrap(true);
        frame.label->setContentsMargins(LabelMargin, 0, LabelMargin, 0);
    }
    for (QAbstractButton* button : frame.buttons) {
        button->setStyleSheet(StyleSheet::ConfirmRule(pictureFolder_, QStringLiteral("ButtonColor"),
                                                      frame.confirmPicture, frame.confirmPressedPicture));
    }
    if (frame.closeButton)
        frame.closeButton->setStyleSheet(StyleSheet::CloseRule(pictureFolder_));
    if (frame.frame) {
        if (frame.frame->height() < height()) {
            // A frame shorter than the dialog would leave a strip of the
            // dialog's own ground below it and cut the picture's border: the
            // dialog carries the picture, the frame lies clear over it.
            setStyleSheet(StyleSheet::BackgroundRule(objectName(), pictureFolder_));
            frame.frame->setStyleSheet(QLatin1Char('#') + frame.frame->objectName()
                                       + QStringLiteral("{border:0px;background:transparent;}"));
        } else {
            frame.frame->setStyleSheet(StyleSheet::BackgroundRule(frame.frame->objectName(), pictureFolder_));
        }
    }
    returnButton_ = frame.returnButton;
    language_ = std::make_unique<LanguageTexts>(frame.element, frame.texts);
    SlotChangeLanguage(LanguageTexts::StoredIndex());
}

void MessageDialog::CentreOver(const QWidget* owner, int dx, int dy)
{
    DialogPlacement::CentreOver(this, owner, dx, dy);
}

void MessageDialog::SlotChangeLanguage(int index)
{
    if (language_)
        language_->Load(index);
    if (returnButton_)
        returnButton_->setShortcut(QKeySequence(Qt::Key_Return));
}

void MessageDialog::SetReturnButton(QAbstractButton* button)
{
    returnButton_ = button;
    button->setShortcut(QKeySequence(Qt::Key_Return));
}

void MessageDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    activateWindow();
}

void MessageDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Enter && returnButton_ && returnButton_->isVisible() && returnButton_->isEnabled()) {
        returnButton_->animateClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MessageDialog::on_CloseButton_clicked()
{
    Dismiss();
}

void MessageDialog::Dismiss()
{
    close();
}
