#include "widgets/MyConmboBox.h"

#include <QListView>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

MyConmboBox::MyConmboBox(QWidget* parent)
    : QComboBox(parent)
{
}

void MyConmboBox::SetListViewWhenOpened(const QString& styleSheet)
{
    listViewPending_ = true;
    listViewStyle_ = styleSheet;
}

void MyConmboBox::showPopup()
{
    if (listViewPending_) {
        listViewPending_ = false;
        auto* view = new QListView(this);
        view->setStyleSheet(listViewStyle_);
        setView(view);
    }
    QComboBox::showPopup();
}

void MyConmboBox::mousePressEvent(QMouseEvent* event)
{
    pressedIndex_ = currentIndex();
    QComboBox::mousePressEvent(event);
}

void MyConmboBox::paintEvent(QPaintEvent*)
{
    QStyleOptionComboBox box;
    initStyleOption(&box);
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        style()->drawComplexControl(QStyle::CC_ComboBox, &box, &painter, this);
        if (isEditable()) {
            style()->drawControl(QStyle::CE_ComboBoxLabel, &box, &painter, this);
            return;
        }
    }
    // The current entry as a centred push-button label in the edit field.
    QStyleOptionButton label;
    label.initFrom(this);
    label.rect = style()->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, this);
    // Without a current entry, the placeholder names what is chosen.
    label.text = currentIndex() < 0 ? placeholderText() : box.currentText;
    label.icon = box.currentIcon;
    label.iconSize = box.iconSize;
    QStylePainter painter(this);
    painter.drawControl(QStyle::CE_PushButtonLabel, label);
}
