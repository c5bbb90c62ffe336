#pragma once

#include <QComboBox>

// A combo box that draws its closed text centred, like a push button's
// label (the placeholder text while no entry is current), and remembers which entry was current when it was last pressed (so
// a page can go back to it when the change cannot be made).
class MyConmboBox : public QComboBox {
    Q_OBJECT
public:
    explicit MyConmboBox(QWidget* parent = nullptr);

    // The current index at the last mouse press; 0 before any press.
    int PressedIndex() const { return pressedIndex_; }

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
    int pressedIndex_ = 0;
    bool listViewPending_ = false;
    QString listViewStyle_;
};
