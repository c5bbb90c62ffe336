#include "pages/buttons/ButtonFunctionList.h"

#include "core/ButtonRecords.h"
#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/FireKey.h"
#include "dialogs/GroupKey.h"
#include "dialogs/LeftButtonOnly.h"
#include "dialogs/MakeMacro.h"
#include "pages/buttons/ButtonPageStyle.h"
#include "ui_Buttoninterface.h"

#include <QButtonGroup>
#include <QScrollBar>

namespace {
// Dialogs opened from the button rows and the function list sit this far
// from the page's centre.
constexpr int DialogDx = -50;
constexpr int DialogDy = -70;
// One row of the lists scrolls by this many pixels.
constexpr int RowHeight = 15;
// The mouse picture's markers are tested against the list 340 px lower.
constexpr int MarkerShift = 340;

void SetScroll(QScrollArea* area, int position)
{
    area->verticalScrollBar()->setValue(position);
}

// Unchecks every button of an exclusive group.
void UncheckGroup(QButtonGroup* group)
{
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

using Function = ButtonFunctionTable::Function;
using Kind = ButtonFunctionTable::Kind;
constexpr int KeyType = ButtonFunctionTable::KeyType;
constexpr int MacroType = ButtonFunctionTable::MacroType;
constexpr int DpiLockType = ButtonFunctionTable::DpiLockType;
constexpr int ClickType = 1;
constexpr int LeftClick = 1;
constexpr int FireType = 4;
} // namespace

ButtonFunctionList::ButtonFunctionList(Ui::Buttoninterface* ui, const ButtonFunctionTable& table,
                                       const QVector<Row>& rows, QButtonGroup* panelGroup, Page page)
    : QObject(page.widget)
    , ui(ui)
    , table_(table)
    , rows_(rows)
    , page_(std::move(page))
    , labelGroup_(new QButtonGroup(this))
    , listGroup_(new QButtonGroup(this))
    , panelGroup_(panelGroup)
    , markerGroup_(new QButtonGroup(this))
{
    for (const Row& row : qAsConst(rows_)) {
        labelGroup_->addButton(row.label);
        markerGroup_->addButton(row.marker);
    }
    for (QToolButton* button : table_.ListButtons())
        listGroup_->addButton(button);
    for (QButtonGroup* group : {labelGroup_, listGroup_, markerGroup_})
        group->setExclusive(true);
}

QToolButton* ButtonFunctionList::CheckedLabel() const
{
    for (const Row& row : rows_) {
        if (row.label->isChecked())
            return row.label;
    }
    return nullptr;
}

int ButtonFunctionList::DeviceButtonOf(const QToolButton* label) const
{
    for (const Row& row : rows_) {
        if (row.label == label)
            return row.button;
    }
    return -1;
}

void ButtonFunctionList::ClosePanels()
{
    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(ButtonPageStyle::ScrollBarWidth(10));
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
}

void ButtonFunctionList::UncheckLabels()
{
    UncheckGroup(labelGroup_);
}

void ButtonFunctionList::UncheckMarkers()
{
    UncheckGroup(markerGroup_);
}

void ButtonFunctionList::UncheckFunctionButtons()
{
    UncheckGroup(panelGroup_);
}

void ButtonFunctionList::ListPageChanged(int index)
{
    if (index == 0)
        return;
    listGroup_->setExclusive(false);
    listGroup_->setExclusive(true);
}

int ButtonFunctionList::LeftClickRows() const
{
    int rows = 0;
    for (const Row& row : rows_) {
        const Held held = page_.held(row.button);
        rows += held.type == ClickType && held.value1 == LeftClick ? 1 : 0;
    }
    return rows;
}

void ButtonFunctionList::OpenList(QToolButton* listButton, int listRow, QWidget* panelPage)
{
    ui->stackedWidget->setCurrentWidget(ui->page_2);
    ui->stackedWidget_2->setCurrentWidget(panelPage);
    if (listButton)
        listButton->setChecked(true);
    SetScroll(ui->scrollArea_4, RowHeight * listRow);
}

void ButtonFunctionList::ChooseRow(int rowIndex)
{
    const Row& row = rows_.at(rowIndex);
    const Held held = page_.held(row.button);
    // The device keeps one left click: its only row is not opened.
    if (held.type == ClickType && held.value1 == LeftClick && LeftClickRows() == 1) {
        ui->stackedWidget->setCurrentWidget(ui->page);
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        UncheckLabels();
        LeftButtonOnly notice;
        DialogPlacement::CentreOver(&notice, page_.widget, DialogDx, DialogDy);
        notice.exec();
        return;
    }
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(ButtonPageStyle::ScrollBarWidth(rowIndex == 0 ? 10 : 0));

    const int type = held.type;
    if (type == KeyType) {
        OpenKeyOf(rowIndex);
        return;
    }
    const ButtonFunctionTable::Category* category = table_.CategoryOf(type);
    // An unknown or missing function opens nothing.
    if (!category)
        return;
    const int value = held.value1;
    const Function* function = table_.Find(type, type == DpiLockType ? page_.dpiOf(value) : value);
    // A function of the list is its own place there; a panel's function is
    // checked in its panel.
    if (function && (function->kind == Kind::List || function->kind == Kind::Fire)) {
        OpenList(function->button, function->row, category->panel);
    } else {
        OpenList(category->list, category->listRow, category->panel);
        if (function)
            function->button->setChecked(true);
    }
    if (type == MacroType)
        emit MacroRowOpened(row.label);
    const bool locked = type == DpiLockType && function;
    SetScroll(ui->scrollArea_10, RowHeight * (locked ? function->row : 0));
}

void ButtonFunctionList::OpenKeyOf(int rowIndex)
{
    const int button = rows_.at(rowIndex).button;
    // A consumer key opens its page; anything else is a combination.
    const DeviceEvent first =
        LiveFlashData.read([&](const FlashDataMap& image) { return image.keys[button].events[0]; });
    const Function* key = first.kind == DeviceEvent::Consumer ? table_.Consumer(first.code & 0xFF) : nullptr;
    const ButtonFunctionTable::Category* category = table_.CategoryOf(KeyType, key != nullptr);
    OpenList(category->list, category->listRow, category->panel);
    if (key) {
        key->button->setChecked(true);
        const int mediaRow = key->row;
        int position = mediaRow;
        // The row of AC Back and AC Forward is swapped for the second row.
        if (rowIndex == 1 && (mediaRow == 13 || mediaRow == 14))
            position = mediaRow == 13 ? 14 : 13;
        SetScroll(ui->scrollArea_3, RowHeight * position);
    } else {
        SetScroll(ui->scrollArea_3, 0);
    }
}

void ButtonFunctionList::ConnectAssignments()
{
    // Buttons with a slot of their own are bound by name; the rest here.
    for (const Function& function : table_.Functions()) {
        const QByteArray slot = "on_" + function.button->objectName().toLatin1() + "_clicked(bool)";
        if (page_.widget->metaObject()->indexOfSlot(slot.constData()) >= 0)
            continue;
        const Function copy = function;
        connect(function.button, &QToolButton::clicked, this, [this, copy](bool checked) { Assign(copy, checked); });
    }
}

void ButtonFunctionList::AssignOf(QToolButton* button, bool checked)
{
    Assign(*table_.Of(button), checked);
}

void ButtonFunctionList::Assign(const Function& function, bool checked)
{
    if (!checked)
        return;
    if (function.kind == Kind::List || function.kind == Kind::Fire)
        UncheckFunctionButtons();
    int value1 = function.value;
    int value2 = 0;
    QString text = function.button->text();
    bool storable = true;
    switch (function.kind) {
    case Kind::DpiLock: {
        // A model with a register table but no entry for this DPI has no
        // register to lock to.
        const std::optional<int> lockRegister = page_.registerOf(function.value);
        value1 = lockRegister.value_or(0);
        text = table_.LockText(function.button->text());
        storable = lockRegister.has_value();
        break;
    }
    case Kind::Fire:
        value1 = fireInterval_;
        value2 = fireCount_;
        break;
    case Kind::Consumer:
        value1 = 0;
        break;
    default:
        break;
    }
    QToolButton* label = CheckedLabel();
    if (label && storable) {
        const int button = DeviceButtonOf(label);
        const bool stored = function.kind == Kind::Consumer
            ? SetButtonKeyData(button, ButtonFunction{KeyType, 0, 0}, ButtonRecords::ConsumerKeyRecord(function.value))
            : SetButtonKey(button, function.type, value1, value2);
        if (stored) {
            label->setText(text);
            emit Stored(button, function.type, value1, value2);
        }
    }
    ClosePanels();
}

void ButtonFunctionList::OpenMacros(bool anyMacro)
{
    if (anyMacro) {
        ui->stackedWidget_2->setCurrentWidget(ui->page_5);
        return;
    }
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    MakeMacro notice;
    DialogPlacement::CentreOver(&notice, page_.widget, DialogDx, DialogDy);
    notice.exec();
}

void ButtonFunctionList::AskFire()
{
    // Offline: the notice, as for every other assignment; no dialog.
    if (!CheckDeviceOnline()) {
        ui->stackedWidget->setCurrentWidget(ui->page);
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        return;
    }
    int interval = 10;
    int count = 3;
    // A row holding the fire key presets its own interval and count.
    if (const QToolButton* label = CheckedLabel()) {
        const Held held = page_.held(DeviceButtonOf(label));
        if (held.type == FireType) {
            interval = held.value1;
            count = held.value2;
        }
    }
    FireKey dialog;
    dialog.SetInterval(interval);
    dialog.SetCount(count);
    DialogPlacement::CentreOver(&dialog, page_.widget, DialogDx, DialogDy);
    dialog.exec();
    if (!dialog.Confirmed)
        return;
    fireInterval_ = dialog.Interval;
    fireCount_ = dialog.Count;
    AssignOf(ui->DPI_6, true);
}

void ButtonFunctionList::AskCombination()
{
    GroupKey dialog;
    DialogPlacement::CentreOver(&dialog, page_.widget, DialogDx, DialogDy);
    dialog.exec();
    if (!dialog.Confirmed)
        return;
    const QToolButton* label = CheckedLabel();
    if (!label) {
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        UncheckFunctionButtons();
        ui->stackedWidget->setCurrentWidget(ui->page_2);
        ui->scrollArea_11->verticalScrollBar()->setStyleSheet(ButtonPageStyle::ScrollBarWidth(10));
        return;
    }
    emit Combination(DeviceButtonOf(label), dialog.Combination);
}

void ButtonFunctionList::PagePressed(const QPoint& p)
{
    const QPoint q(p.x(), p.y() - MarkerShift);
    const auto holds = [](const QWidget* widget, const QPoint& point) { return widget->geometry().contains(point); };
    const auto listShown = [this] { return ui->stackedWidget->currentWidget() != ui->page; };
    const auto panelResting = [this] { return ui->stackedWidget_2->currentWidget() == ui->page_9; };

    if (listShown() && !panelResting()) {
        if (!holds(ui->groupBox, p))
            ClosePanels();
    } else if (listShown() && panelResting()) {
        if (!holds(ui->scrollArea_11, p) && !holds(ui->stackedWidget, q))
            ClosePanels();
    }

    const bool list = listShown();
    const bool resting = panelResting();
    if (!list && resting) {
        if (!holds(ui->scrollArea_11, p) || holds(ui->stackedWidget, q)) {
            UncheckLabels();
            ClosePanels();
        }
    } else if (list && resting) {
        if (!holds(ui->groupBox, p)) {
            UncheckLabels();
            ClosePanels();
        }
    } else if (list && !resting) {
        if (!holds(ui->scrollArea_11, p) && !holds(ui->stackedWidget, p) && !holds(ui->stackedWidget_2, p)) {
            UncheckLabels();
            ClosePanels();
        }
    }

    bool otherMarker = false;
    for (QToolButton* marker : {ui->Number2, ui->Number3, ui->Number4, ui->Number5, ui->Number6})
        otherMarker = otherMarker || holds(marker, p);
    if (!holds(ui->Number1, p) || otherMarker)
        UncheckMarkers();

    if (holds(ui->widget, p)) {
        UncheckLabels();
        ClosePanels();
    }
}
