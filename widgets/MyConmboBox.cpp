#include "widgets/MyConmboBox.h"

#include "core/StyleSheet.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QListView>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace {
// The desktop style may open a combo box's list as a menu over the box, with
// every entry at once (21 debounce entries hang out of the window); the
// program's lists open below their box instead.
class ListBelowStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* ListBelow()
{
    static QPointer<ListBelowStyle> style;
    if (!style) {
        style = new ListBelowStyle;
        style->setParent(qApp);
    }
    return style;
}
} // namespace

MyConmboBox::MyConmboBox(QWidget* parent)
    : QComboBox(parent)
{
}

void MyConmboBox::SetListViewWhenOpened(const QString& styleSheet)
{
    listViewPending_ = true;
    listViewStyle_ = styleSheet;
}

void MyConmboBox::mousePressEvent(QMouseEvent* event)
{
    pressedIndex_ = currentIndex();
    QComboBox::mousePressEvent(event);
}

void MyConmboBox::ShowEntry(int index, const QString& unlistedName)
{
    const bool listed = index >= 0 && index < count();
    setPlaceholderText(listed ? QString() : unlistedName);
    setCurrentIndex(listed ? index : -1);
}

QRect MyConmboBox::LabelRect() const
{
    QStyleOptionComboBox box;
    initStyleOption(&box);
    QRect field = style()->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, this);
    const QRect arrow = style()->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxArrow, this);
    if (arrow.isValid())
        field.setRight(qMin(field.right(), arrow.left() - StyleSheet::ComboArrowInset - 1));
    return field;
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
    // The current entry as a centred push-button label beside the arrow.
    QStyleOptionButton label;
    label.initFrom(this);
    label.rect = LabelRect();
    // Without a current entry, the placeholder names what is chosen.
    label.text = currentIndex() < 0 ? placeholderText() : box.currentText;
    label.icon = box.currentIcon;
    label.iconSize = box.iconSize;
    QStylePainter painter(this);
    painter.drawControl(QStyle::CE_PushButtonLabel, label);
}

void MyConmboBox::showPopup()
{
    if (listViewPending_) {
        listViewPending_ = false;
        auto* view = new QListView(this);
        view->setStyleSheet(listViewStyle_);
        setView(view);
    }
    // Set when the list first opens: a style given to the box makes its list
    // view at once, which the window's start should not pay for.
    if (!listBelow_) {
        listBelow_ = true;
        setStyle(ListBelow());
        // A list made under the desktop's menu-like popup was set to show no
        // scroll bar; below the box it scrolls beyond its rows.
        view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
    const QVariant centred{int(Qt::AlignCenter)};
    for (int row = 0; row < count(); ++row) {
        if (itemData(row, Qt::TextAlignmentRole) != centred)
            setItemData(row, centred, Qt::TextAlignmentRole);
    }
    // The entries in the box's own font.
    view()->setFont(font());
    QComboBox::showPopup();
    PlacePopup();
}

void MyConmboBox::PlacePopup()
{
    QAbstractItemView* const list = view();
    QWidget* const popup = list->window();
    if (popup == window() || !popup->isVisible())
        return;

    // The rows the list shows: a row hidden in the list view takes no room.
    const auto* listView = qobject_cast<const QListView*>(list);
    const int maxRows = qMax(1, maxVisibleItems());
    int rowsHeight = 0;
    for (int row = 0, shown = 0; row < count() && shown < maxRows; ++row) {
        if (listView && listView->isRowHidden(row))
            continue;
        rowsHeight += list->sizeHintForRow(row);
        ++shown;
    }
    // The list's frame and the popup's margins around its rows.
    const int chrome = popup->height() - list->viewport()->height();
    int height = rowsHeight + chrome;

    // Room: the top window, within the screen's free area; the screen alone
    // where the window holds the list on neither side of the box.
    const QRect box(mapToGlobal(QPoint(0, 0)), size());
    const QRect screenRoom = screen() ? screen()->availableGeometry() : box;
    QRect room = window()->frameGeometry() & screenRoom;
    const bool fitsInWindow = room.contains(box)
        && (height <= room.bottom() - box.bottom() || height <= box.top() - room.top());
    if (!fitsInWindow)
        room = screenRoom;
    const int below = room.bottom() - box.bottom();
    const int above = box.top() - room.top();
    const bool down = height <= below || below >= above;
    height = qMin(height, qMax(down ? below : above, list->sizeHintForRow(0) + chrome));

    const int width = qMax(popup->width(), box.width());
    int left = box.left();
    if (left + width - 1 > room.right())
        left = qMax(room.left(), room.right() - width + 1);
    const int top = down ? box.bottom() + 1 : box.top() - height;
    popup->setGeometry(left, top, width, height);
    if (currentIndex() >= 0)
        list->scrollTo(list->currentIndex(), QAbstractItemView::EnsureVisible);
}
