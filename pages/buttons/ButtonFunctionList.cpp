#include "pages/buttons/ButtonFunctionList.h"

#include "core/ButtonRecords.h"
#include "core/ParameterSetters.h"
#include "core/SensorDefineFile.h"
#include "core/SharedState.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/FireKey.h"
#include "dialogs/GroupKey.h"
#include "dialogs/LeftButtonOnly.h"
#include "dialogs/MakeMacro.h"
#include "pages/buttons/ButtonPageStyle.h"
#include "pages/buttons/Buttoninterface.h"
#include "ui_Buttoninterface.h"

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

using Function = ButtonFunctionTable::Function;
using Kind = ButtonFunctionTable::Kind;
constexpr int KeyType = ButtonFunctionTable::KeyType;
constexpr int MacroType = ButtonFunctionTable::MacroType;
constexpr int DpiLockType = ButtonFunctionTable::DpiLockType;
} // namespace

ButtonFunctionList::ButtonFunctionList(Buttoninterface* page)
    : page_(page)
    , ui(page->ui)
    , table_(*page->functions_)
{
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
    const Buttoninterface::Row& row = page_->rows_.at(rowIndex);
    const QString leftClick = ui->LeftKey_3->text();
    int leftLabels = 0;
    for (const Buttoninterface::Row& other : qAsConst(page_->rows_))
        leftLabels += other.label->text() == leftClick ? 1 : 0;
    if (leftLabels == 1 && row.label->text() == leftClick) {
        ui->stackedWidget->setCurrentWidget(ui->page);
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        page_->UncheckLabels();
        LeftButtonOnly notice;
        DialogPlacement::CentreOver(&notice, page_, DialogDx, DialogDy);
        notice.exec();
        return;
    }
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(ButtonPageStyle::ScrollBarWidth(rowIndex == 0 ? 10 : 0));

    const int type = page_->MirrorType(row.button);
    if (type == KeyType) {
        OpenKeyOf(rowIndex);
        return;
    }
    const ButtonFunctionTable::Category* category = table_.CategoryOf(type);
    // An unknown or missing function opens nothing.
    if (!category)
        return;
    const int value = page_->MirrorValue1(row.button);
    const Function* function = table_.Find(type, type == DpiLockType ? page_->DpiValueFromIndex(value) : value);
    // A function of the list is its own place there; a panel's function is
    // checked in its panel.
    if (function && (function->kind == Kind::List || function->kind == Kind::Fire)) {
        OpenList(function->button, function->row, category->panel);
    } else {
        OpenList(category->list, category->listRow, category->panel);
        if (function)
            function->button->setChecked(true);
    }
    if (type == MacroType) {
        const QString text = row.label->text();
        for (int k = 0; k < page_->MacroButtons.size(); ++k) {
            QToolButton* macro = page_->MacroButtons.at(k);
            if (macro->isEnabled() && page_->MacroPrefix + macro->text() == text) {
                macro->setChecked(true);
                SetScroll(ui->scrollArea_7, RowHeight * (k + 1));
            }
        }
    }
    const bool locked = type == DpiLockType && function;
    SetScroll(ui->scrollArea_10, RowHeight * (locked ? function->row : 0));
}

void ButtonFunctionList::OpenKeyOf(int rowIndex)
{
    const int button = page_->rows_.at(rowIndex).button;
    // A consumer key opens its page; anything else is a combination.
    const DeviceEvent first =
        LiveFlashData.read([&](const FlashDataMap& image) { return image.keys[button].events[0]; });
    const int mediaRow = first.kind == DeviceEvent::Consumer ? ButtonRecords::ConsumerRow(first.code & 0xFF) : -1;
    const ButtonFunctionTable::Category* category = table_.CategoryOf(KeyType, mediaRow >= 0);
    OpenList(category->list, category->listRow, category->panel);
    if (mediaRow >= 0) {
        table_.ConsumerButtons().at(mediaRow)->setChecked(true);
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
        if (page_->metaObject()->indexOfSlot(slot.constData()) >= 0)
            continue;
        const Function copy = function;
        QObject::connect(function.button, &QToolButton::clicked, page_,
                         [this, copy](bool checked) { Assign(copy, checked); });
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
        page_->UncheckFunctionButtons();
    int value1 = function.value;
    int value2 = 0;
    QString text = function.button->text();
    bool storable = true;
    switch (function.kind) {
    case Kind::DpiLock: {
        value1 = page_->DpiIndexFromValue(function.value);
        text = table_.LockText(function.button->text());
        // A model with a register table but no entry for this DPI has no
        // register to lock to.
        const QStringList& names = page_->DefineNames;
        const QVector<int>& values = page_->DefineValues;
        storable = !SensorDefineFile::HasDpiTable(names, values, page_->SensorModel)
            || SensorDefineFile::IndexOfDpi(names, values, page_->SensorModel, function.value) >= 0;
        break;
    }
    case Kind::Fire:
        value1 = page_->FireInterval;
        value2 = page_->FireCount;
        break;
    case Kind::Consumer:
        value1 = 0;
        break;
    default:
        break;
    }
    QToolButton* label = page_->CheckedLabel();
    if (label && storable) {
        const int button = page_->DeviceButtonOf(label);
        const bool stored = function.kind == Kind::Consumer
            ? SetButtonKeyData(button, ButtonFunction{KeyType, 0, 0}, ButtonRecords::ConsumerKeyRecord(function.value))
            : SetButtonKey(button, function.type, value1, value2);
        if (stored) {
            label->setText(text);
            page_->SetButtonState(button, function.type, value1, value2);
        }
    }
    page_->ClosePanels();
}

void ButtonFunctionList::OpenMacros()
{
    if (!page_->MacroButtons.isEmpty()) {
        ui->stackedWidget_2->setCurrentWidget(ui->page_5);
        return;
    }
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    MakeMacro notice;
    DialogPlacement::CentreOver(&notice, page_, DialogDx, DialogDy);
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
    if (QToolButton* label = page_->CheckedLabel()) {
        const int button = page_->DeviceButtonOf(label);
        if (label->text() == ui->DPI_6->text() && page_->MirrorType(button) >= 0) {
            interval = page_->MirrorValue1(button);
            count = page_->MirrorValue2(button);
        }
    }
    FireKey dialog;
    dialog.SetInterval(interval);
    dialog.SetCount(count);
    DialogPlacement::CentreOver(&dialog, page_, DialogDx, DialogDy);
    dialog.exec();
    if (!dialog.Confirmed)
        return;
    page_->FireInterval = dialog.Interval;
    page_->FireCount = dialog.Count;
    AssignOf(ui->DPI_6, true);
}

void ButtonFunctionList::AskCombination()
{
    GroupKey dialog;
    DialogPlacement::CentreOver(&dialog, page_, DialogDx, DialogDy);
    dialog.exec();
    if (!dialog.Confirmed)
        return;
    QToolButton* label = page_->CheckedLabel();
    if (!label) {
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        page_->UncheckFunctionButtons();
        ui->stackedWidget->setCurrentWidget(ui->page_2);
        ui->scrollArea_11->verticalScrollBar()->setStyleSheet(ButtonPageStyle::ScrollBarWidth(10));
        return;
    }
    page_->SetButtonComboKey(page_->DeviceButtonOf(label), dialog.Combination);
}

void ButtonFunctionList::PagePressed(const QPoint& p)
{
    const QPoint q(p.x(), p.y() - MarkerShift);
    const auto holds = [](const QWidget* widget, const QPoint& point) { return widget->geometry().contains(point); };
    const auto listShown = [this] { return ui->stackedWidget->currentWidget() != ui->page; };
    const auto panelResting = [this] { return ui->stackedWidget_2->currentWidget() == ui->page_9; };

    if (listShown() && !panelResting()) {
        if (!holds(ui->groupBox, p))
            page_->ClosePanels();
    } else if (listShown() && panelResting()) {
        if (!holds(ui->scrollArea_11, p) && !holds(ui->stackedWidget, q))
            page_->ClosePanels();
    }

    const bool list = listShown();
    const bool resting = panelResting();
    if (!list && resting) {
        if (!holds(ui->scrollArea_11, p) || holds(ui->stackedWidget, q)) {
            page_->UncheckLabels();
            page_->ClosePanels();
        }
    } else if (list && resting) {
        if (!holds(ui->groupBox, p)) {
            page_->UncheckLabels();
            page_->ClosePanels();
        }
    } else if (list && !resting) {
        if (!holds(ui->scrollArea_11, p) && !holds(ui->stackedWidget, p) && !holds(ui->stackedWidget_2, p)) {
            page_->UncheckLabels();
            page_->ClosePanels();
        }
    }

    bool otherMarker = false;
    for (QToolButton* marker : {ui->Number2, ui->Number3, ui->Number4, ui->Number5, ui->Number6})
        otherMarker = otherMarker || holds(marker, p);
    if (!holds(ui->Number1, p) || otherMarker)
        page_->UncheckMarkers();

    if (holds(ui->widget, p)) {
        page_->UncheckLabels();
        page_->ClosePanels();
    }
}
