#pragma once

#include <QComboBox>
#include <QRect>

// A combo box that draws its closed text centred, like a push button's
// label (the placeholder text while no entry is current), and remembers which
// entry was current when it was last pressed (so a page can go back to it
// when the change cannot be made).
//
// Its list opens below the box (above it where the window, or the screen
// when the window is too small for the list, has no room below), as wide as
// the box, its entries centred like the box's text; it shows as many rows as
// it has, up to maxVisibleItems(), and a scroll bar only when there are more.
class MyConmboBox : public QComboBox {
    Q_OBJECT
public:
    explicit MyConmboBox(QWidget* parent = nullptr);

    // The current index at the last mouse press; 0 before any press.
    int PressedIndex() const { return pressedIndex_; }

    // Makes the entry current; an index the list does not hold leaves no
    // entry current, and the box shows the name given for it instead.
    void ShowEntry(int index, const QString& unlistedName);

    // Where the closed box draws its text: the text field without the part
    // the program's combo rule draws its arrow into.
    QRect LabelRect() const;

    // Gives the box a list view of its own, a QListView with this style
    // sheet, the first time its list opens: the entries are laid out (and
    // the fonts of their texts loaded) then, not while the window that holds
    // the box starts.
    void SetListViewWhenOpened(const QString& styleSheet);
    void showPopup() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Sizes the open list to its rows and keeps it within the window and
    // the screen.
    void PlacePopup();

    int pressedIndex_ = 0;
    bool listViewPending_ = false;
    bool listBelow_ = false;
    QString listViewStyle_;
};
