#pragma once

#include "core/LanguageTexts.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>
#include <QList>
#include <QString>
#include <QVector>

#include <memory>

class QFrame;

// The frame every small modal dialog of the program is built on: a frameless
// modal window with a background picture, a message label, a close button in
// the top right corner and confirm buttons, its texts from the language file
// and its colours from Config.ini. A dialog builds its form, then hands its
// parts to SetUpFrame(); callers construct it without a parent, place it with
// CentreOver() and run exec().
class MessageDialog : public QDialog {
    Q_OBJECT
public:
    ~MessageDialog() override;

    // The window flags of the family: frameless and outside the window
    // manager's control, with the system menu and minimise hints (0x6C12).
    static Qt::WindowFlags FamilyFlags();

    // The pictures of the family: <program folder>/Picture/WarningDialog/.
    QString PictureFolder() const { return pictureFolder_; }

    // Centres the dialog over the owner's window or page, then moves it by
    // the offsets (negative: left or up).
    void CentreOver(const QWidget* owner, int dx = 0, int dy = 0);

public slots:
    // Reloads the texts from the language file of the index.
    void SlotChangeLanguage(int index);
    // Every member has a close button; it runs Dismiss().
    void on_CloseButton_clicked();

protected:
    explicit MessageDialog(QWidget* parent);

    struct Frame {
        QFrame* frame = nullptr;             // carries the background picture
        QLabel* label = nullptr;             // the message (label colour)
        QList<QAbstractButton*> buttons;     // confirm style with the button colour
        QAbstractButton* closeButton = nullptr;
        QString element;                     // the language element
        QVector<LanguageTexts::Child> texts; // its children
        QAbstractButton* returnButton = nullptr; // the button Return clicks, if any
        QString confirmPicture = QStringLiteral("Confirm.png");
        QString confirmPressedPicture = QStringLiteral("ConfirmClick.png");
    };
    // Window flags, styles, the bus connection and the texts of the stored
    // language (the last step of construction).
    void SetUpFrame(const Frame& frame);

    // The frame of a form with the usual label, CloseButton and one confirm
    // button NewHong; the texts of "label" and "NewHong" replace theirs.
    template <class Form>
    static Frame NewHongFrame(Form* ui, QFrame* background, const QString& element)
    {
        Frame frame = LabelFrame(ui, background, element);
        frame.buttons = {ui->NewHong};
        frame.texts.append({QStringLiteral("NewHong"), LanguageTexts::TextOf(ui->NewHong)});
        return frame;
    }
    // The same with the two buttons OK and Cancel.
    template <class Form>
    static Frame OkCancelFrame(Form* ui, QFrame* background, const QString& element)
    {
        Frame frame = LabelFrame(ui, background, element);
        frame.buttons = {ui->OK, ui->Cancel};
        frame.texts.append({QStringLiteral("OK"), LanguageTexts::TextOf(ui->OK)});
        frame.texts.append({QStringLiteral("Cancel"), LanguageTexts::TextOf(ui->Cancel)});
        return frame;
    }
    // The same with the two buttons NewHong (OK) and NewHong_2 (Cancel).
    template <class Form>
    static Frame NewHongCancelFrame(Form* ui, QFrame* background, const QString& element)
    {
        Frame frame = NewHongFrame(ui, background, element);
        frame.buttons.append(ui->NewHong_2);
        frame.texts.append({QStringLiteral("NewHong_2"), LanguageTexts::TextOf(ui->NewHong_2)});
        return frame;
    }
    // A form with only the label and the close button.
    template <class Form>
    static Frame LabelFrame(Form* ui, QFrame* background, const QString& element)
    {
        Frame frame;
        frame.frame = background;
        frame.label = ui->label;
        frame.closeButton = ui->CloseButton;
        frame.element = element;
        frame.texts = {{QStringLiteral("label"), LanguageTexts::TextOf(ui->label)}};
        return frame;
    }

    // The close button: closes the dialog; members that ask clear their
    // answer first.
    virtual void Dismiss();

    LanguageTexts* Language() const { return language_.get(); }

    // The dialog takes the keyboard focus when it opens, also when another
    // program had it (the notice of a second start).
    void showEvent(QShowEvent* event) override;
    // The keypad's Enter clicks the Return button too.
    void keyPressEvent(QKeyEvent* event) override;

    // Makes Return click the button. A button's text change drops its
    // shortcut, so it is given again after every language load.
    void SetReturnButton(QAbstractButton* button);

private:
    QString pictureFolder_;
    std::unique_ptr<LanguageTexts> language_;
    QAbstractButton* returnButton_ = nullptr;
};
