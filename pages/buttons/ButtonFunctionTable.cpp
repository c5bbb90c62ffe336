#include "pages/buttons/ButtonFunctionTable.h"

#include "ui_Buttoninterface.h"

ButtonFunctionTable::ButtonFunctionTable(Ui::Buttoninterface* ui)
{
    using K = Kind;
    // The function list, in list order; the row of a list function is the
    // row the list scrolls to when a button holds it.
    functions_ = {
        {ui->LeftKey_3, K::List, 1, 1, 0},        {ui->RightKey_3, K::List, 1, 2, 1},
        {ui->MidKey, K::List, 1, 4, 2},           {ui->BackKey_2, K::List, 1, 8, 3},
        {ui->ForWardKey, K::List, 1, 16, 4},      {ui->DPI_2, K::List, 7, 0, 5},
        {ui->DPI_3, K::List, 9, 0, 6},            {ui->DPI_5, K::List, 0, 0, 9},
        {ui->VolumeUp_8, K::Panel, 2, 1, 0},      {ui->VolumeUp_9, K::Panel, 2, 2, 0},
        {ui->VolumeUp_10, K::Panel, 2, 3, 0},     {ui->VolumeUp_2, K::Panel, 3, 1, 0},
        {ui->VolumeDown_2, K::Panel, 3, 2, 0},    {ui->VolumeUp_14, K::Panel, 11, 1, 0},
        {ui->VolumeDown_14, K::Panel, 11, 2, 0},  {ui->VolumeUp_4, K::Panel, 8, 0, 0},
        {ui->VolumeUp_5, K::Panel, 8, 1, 0},      {ui->VolumeUp_6, K::Panel, 8, 3, 0},
        {ui->VolumeUp_7, K::Panel, 8, 4, 0},
    };
    const QVector<QToolButton*> locks{ui->VolumeUp_11, ui->VolumeUp_12, ui->VolumeUp_13, ui->VolumeUp_16,
                                      ui->VolumeUp_15, ui->VolumeUp_19, ui->VolumeUp_20, ui->VolumeUp_22,
                                      ui->VolumeUp_18, ui->VolumeUp_24, ui->VolumeUp_23, ui->VolumeUp_21};
    for (int i = 0; i < LockCount; ++i)
        functions_.append({locks.at(i), K::DpiLock, DpiLockType, LockStep * (i + 1), i});
    // The consumer keys in the order of their panel, each with its usage; the
    // low byte of the usage names the key in a stored record.
    const struct {
        QToolButton* button;
        int usage;
    } consumers[] = {
        {ui->Player, 0x0183},        {ui->StartPause_2, 0x00CD},  {ui->BackMusic_2, 0x00B5},
        {ui->TopMusic_2, 0x00B6},    {ui->Mute, 0x00B7},          {ui->VolumeUp, 0x00E2},
        {ui->VolumeDown, 0x00E9},    {ui->VolumeDown_4, 0x00EA},  {ui->VolumeDown_5, 0x018A},
        {ui->VolumeDown_6, 0x0192},  {ui->VolumeDown_3, 0x0194},  {ui->VolumeDown_8, 0x0223},
        {ui->VolumeDown_9, 0x0221},  {ui->VolumeDown_10, 0x0224}, {ui->VolumeDown_7, 0x0225},
        {ui->VolumeDown_12, 0x0226}, {ui->VolumeDown_13, 0x0227}, {ui->VolumeDown_11, 0x022A},
    };
    for (const auto& consumer : consumers) {
        functions_.append({consumer.button, K::Consumer, KeyType, consumer.usage, int(consumerButtons_.size())});
        consumerButtons_.append(consumer.button);
    }
    functions_.append({ui->DPI_6, K::Fire, 4, 0, 7});

    // Where each type opens: its category button, the list's row, its panel.
    categories_ = {
        {0, ui->DPI_5, 9, ui->page_9},
        {1, nullptr, 0, ui->page_9},
        {2, ui->DPI_7, 13, ui->page_7},
        {3, ui->DPI_11, 10, ui->page_4},
        {4, ui->DPI_6, 7, ui->page_9},
        {KeyType, ui->DPI_8, 8, ui->page_9},
        {MacroType, ui->DPI_10, 15, ui->page_5},
        {7, ui->DPI_2, 5, ui->page_9},
        {8, ui->DPI_9, 12, ui->page_6},
        {9, ui->DPI_3, 6, ui->page_9},
        {DpiLockType, ui->DPI_4, 15, ui->page_8},
        {11, ui->DPI_13, 10, ui->page_10},
    };
    consumerCategory_ = {KeyType, ui->DPI_12, 16, ui->page_3};
    restingPanel_ = ui->page_9;

    listButtons_ = {ui->LeftKey_3, ui->RightKey_3, ui->MidKey, ui->BackKey_2, ui->ForWardKey, ui->DPI_2,
                    ui->DPI_3, ui->DPI_6, ui->DPI_8, ui->DPI_5, ui->DPI_13, ui->DPI_11,
                    ui->DPI_4, ui->DPI_9, ui->DPI_7, ui->DPI_12, ui->DPI_10};
    for (const Function& function : qAsConst(functions_)) {
        if (function.kind == K::Panel || function.kind == K::Consumer || function.kind == K::DpiLock)
            panelButtons_.append(function.button);
    }
}

const ButtonFunctionTable::Function* ButtonFunctionTable::Of(const QToolButton* button) const
{
    for (const Function& function : functions_) {
        if (function.button == button)
            return &function;
    }
    return nullptr;
}

const ButtonFunctionTable::Function* ButtonFunctionTable::Find(int type, int value1) const
{
    const Function* only = nullptr;
    int count = 0;
    for (const Function& function : functions_) {
        if (function.type != type)
            continue;
        if (function.value == value1)
            return &function;
        only = &function;
        ++count;
    }
    return count == 1 ? only : nullptr;
}

const ButtonFunctionTable::Category* ButtonFunctionTable::CategoryOf(int type, bool consumer) const
{
    if (type == KeyType && consumer)
        return &consumerCategory_;
    for (const Category& category : categories_) {
        if (category.type == type)
            return &category;
    }
    return nullptr;
}

const ButtonFunctionTable::Function* ButtonFunctionTable::Consumer(int lowByte) const
{
    for (const Function& function : functions_) {
        if (function.kind == Kind::Consumer && (function.value & 0xFF) == lowByte)
            return &function;
    }
    return nullptr;
}

bool ButtonFunctionTable::OpensPanel(const QToolButton* listButton) const
{
    if (consumerCategory_.list == listButton)
        return true;
    for (const Category& category : categories_) {
        if (category.list == listButton)
            return category.panel != restingPanel_;
    }
    return false;
}

QString ButtonFunctionTable::LockText(const QString& dpi) const
{
    return CategoryOf(DpiLockType)->list->text() + QStringLiteral("-") + dpi;
}
