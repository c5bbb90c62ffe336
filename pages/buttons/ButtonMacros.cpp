#include "pages/buttons/ButtonMacros.h"

#include "core/ButtonRecords.h"
#include "core/MacroFile.h"
#include "core/ParameterSetters.h"
#include "core/ProductDescription.h"
#include "core/SharedState.h"
#include "dialogs/MacroKeyCodes.h"
#include "pages/buttons/ButtonFunctionList.h"
#include "pages/buttons/ButtonPageStyle.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/buttons/MacroSavePause.h"
#include "ui_Buttoninterface.h"

#include <QButtonGroup>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
constexpr int FunctionFontPoints = 9;
constexpr int MacroButtonWidth = 174;
constexpr int MacroButtonHeight = 22;
constexpr int PlaceholderHeight = 23;
constexpr int MacroListWidth = 205;
constexpr int MacroListHeight = 220;
// A list of fewer macros is filled up to this many rows by hidden ones.
constexpr int MacroListRows = 7;
// One row of the macro list scrolls by this many pixels.
constexpr int RowHeight = 15;
constexpr int MacroType = ButtonFunctionTable::MacroType;

const QString FontFamily = QStringLiteral("微软雅黑");
} // namespace

ButtonMacros::ButtonMacros(Buttoninterface* page)
    : page_(page)
{
    QVector<int> rowOrder;
    for (const Buttoninterface::Row& row : qAsConst(page->rows_))
        rowOrder << row.button;
    pause_ = new MacroSavePause(
        rowOrder, [this](const QString& name) { return Holding(name); },
        [this](const QString& name) { SendRepeat(name); }, page);
}

void ButtonMacros::BuildList()
{
    page_->MacroListLayout = new QVBoxLayout;
    page_->MacroListLayout->setSizeConstraint(QLayout::SetFixedSize);
    page_->MacroListWidget = new QWidget(page_);
    page_->MacroListWidget->setMinimumSize(MacroListWidth, MacroListHeight);
    page_->MacroListWidget->setMaximumSize(MacroListWidth, MacroListHeight);
    page_->MacroListWidget->setStyleSheet(QStringLiteral("background-color:transparent;border:none;"));
    page_->MacroListWidget->setLayout(page_->MacroListLayout);
    page_->ui->scrollArea_7->setWidget(page_->MacroListWidget);
    AddButtons();
}

void ButtonMacros::RebuildList()
{
    for (QToolButton* button : qAsConst(page_->MacroButtons))
        delete button;
    page_->MacroButtons.clear();
    AddButtons();
}

void ButtonMacros::AddButtons()
{
    const QStringList names = MacroFile::List(MacroFile::Folder());
    const QFont font(FontFamily, FunctionFontPoints);
    const auto make = [&](const QString& text, int height) {
        auto* button = new QToolButton(page_->MacroListWidget);
        button->setText(text);
        button->setStyleSheet(ButtonPageStyle::MacroButtonRule(page_->PictureDir, page_->ButtonColor));
        button->setFont(font);
        button->setMinimumSize(MacroButtonWidth, height);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        page_->MacroListLayout->addWidget(button);
        page_->MacroButtons.append(button);
        return button;
    };
    for (const QString& name : names) {
        QToolButton* button = make(name, MacroButtonHeight);
        page_->PanelGroup->addButton(button);
        QObject::connect(button, &QToolButton::clicked, page_, &Buttoninterface::slotButtonClicked);
    }
    if (!names.isEmpty() && names.size() < MacroListRows) {
        for (int i = names.size(); i < MacroListRows; ++i) {
            QToolButton* placeholder = make(QString(), PlaceholderHeight);
            placeholder->setEnabled(false);
            placeholder->hide();
        }
    }
}

QString ButtonMacros::NameOf(const QToolButton* label) const
{
    // The prefix comes off once, from the start: a name may hold it too.
    const QString text = label->text();
    return text.startsWith(page_->MacroPrefix) ? text.mid(page_->MacroPrefix.size()) : text;
}

MacroBlock ButtonMacros::ReadBlock(const QString& name, bool* ok)
{
    MacroBlock block;
    *ok = false;
    if (!UiReady)
        return block;
    QFile file(MacroFile::PathOf(name));
    if (!file.exists() || file.size() > MacroFile::MaxFileSize || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return block;
    *ok = true;
    ButtonRecords::SetMacroName(&block, name);
    file.readLine();
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    int index = 0;
    while (!file.atEnd()) {
        const QStringList parts = QString::fromUtf8(file.readLine()).split(blanks, Qt::SkipEmptyParts);
        if (index >= MacroBlock::MaxEvents)
            break;
        if (parts.size() == 3) {
            // A row whose flag is neither press nor release is left out.
            const QString& flag = parts.at(2);
            if (flag != QLatin1String("0") && flag != QLatin1String("1"))
                continue;
            DeviceEvent& event = block.events[index];
            MacroKeyCodes::FillDeviceEvent(KeyNameFromHidCode(parts.at(0), parts.at(1).toInt()), &event);
            event.release = flag == QLatin1String("1") ? 1 : 0;
            event.delay = 0;
        } else if (parts.size() == 1) {
            block.events[index].delay = quint32(QString(parts.at(0)).remove(QStringLiteral("ms")).toInt());
            ++index;
        }
    }
    block.count = quint8(qMin(index + 1, int(MacroBlock::MaxEvents)));
    return block;
}

QString ButtonMacros::HeaderValue(const QString& name)
{
    return MacroFile::ReadHeaderValue(MacroFile::PathOf(name));
}

void ButtonMacros::Assign(const QToolButton* macro)
{
    QToolButton* label = page_->CheckedLabel();
    if (macro && label) {
        const QString name = macro->text();
        const int button = page_->DeviceButtonOf(label);
        bool ok = false;
        const MacroBlock block = ReadBlock(name, &ok);
        if (ok) {
            const int repeat = HeaderValue(name).toInt();
            if (SetButtonMacro(button, ButtonFunction{MacroType, quint8(button), quint8(repeat)}, block)) {
                label->setText(page_->MacroPrefix + name);
                page_->SetButtonState(button, MacroType, button, repeat);
            }
        }
    }
    page_->ClosePanels();
}

void ButtonMacros::Saved(const QString& name, int mode)
{
    if (mode == 0)
        pause_->EventsSaved(name);
    else if (mode == 1)
        pause_->RepeatSaved(name);
}

QVector<int> ButtonMacros::Holding(const QString& name) const
{
    QVector<int> buttons;
    for (const Buttoninterface::Row& row : qAsConst(page_->rows_)) {
        if (page_->MirrorType(row.button) == MacroType && NameOf(row.label) == name)
            buttons.append(row.button);
    }
    return buttons;
}

void ButtonMacros::SendPending()
{
    pause_->SendAll();
}

bool ButtonMacros::Pending() const
{
    return pause_->Pending();
}

void ButtonMacros::ShowInList(const QToolButton* label)
{
    const QString text = label->text();
    for (int k = 0; k < page_->MacroButtons.size(); ++k) {
        QToolButton* macro = page_->MacroButtons.at(k);
        if (macro->isEnabled() && page_->MacroPrefix + macro->text() == text) {
            macro->setChecked(true);
            page_->ui->scrollArea_7->verticalScrollBar()->setValue(RowHeight * (k + 1));
        }
    }
}

void ButtonMacros::SendRepeat(const QString& name)
{
    const int repeat = HeaderValue(name).toInt();
    for (int button : Holding(name)) {
        ButtonFunction function;
        MacroBlock block;
        LiveFlashData.read([&](const FlashDataMap& image) {
            function = image.buttons[button];
            block = image.macros[button];
        });
        function.value2 = quint8(repeat);
        SetButtonMacro(button, function, block);
    }
}

void ButtonMacros::Rename(const QString& oldName, const QString& newName)
{
    // A saved macro still waiting for its pause goes out under its new name.
    pause_->Rename(oldName, newName);
    for (const Buttoninterface::Row& row : qAsConst(page_->rows_)) {
        if (page_->MirrorType(row.button) != MacroType || NameOf(row.label) != oldName)
            continue;
        row.label->setText(page_->MacroPrefix + newName);
        ButtonFunction function;
        MacroBlock block;
        LiveFlashData.read([&](const FlashDataMap& image) {
            function = image.buttons[row.button];
            block = image.macros[row.button];
        });
        ButtonRecords::SetMacroName(&block, newName);
        SetButtonMacro(row.button, function, block);
    }
}

void ButtonMacros::FallBack(const QString& text)
{
    QStringList texts;
    for (const Buttoninterface::Row& row : qAsConst(page_->rows_))
        texts << row.label->text();
    const int modelIndex = CurrentDevice.get().modelIndex;
    QVector<ButtonRecords::KeyParameter> parameters;
    for (int key = 1; key <= ButtonRecords::ShownButtons; ++key)
        parameters << ButtonRecords::KeyParameterOf(ProductDescription::Instance().KeyParam(modelIndex, key));
    for (int r = 0; r < page_->rows_.size(); ++r) {
        if (texts.at(r) != text)
            continue;
        const int button = page_->rows_.at(r).button;
        // The device button's default function, from the function table.
        const ButtonFunctionTable::Function* fallback =
            page_->functions_->Find(ButtonRecords::DefaultTypes[button], ButtonRecords::DefaultValues1[button]);
        page_->rows_.at(r).label->setChecked(true);
        fallback->button->setChecked(true);
        LiveFlashData.update([button](FlashDataMap& image) { image.keys[button] = KeyRecord(); });
        const ButtonRecords::KeyParameter& parameter = parameters.at(button);
        if (parameter.kind == ButtonRecords::KeyParameter::Consumer)
            page_->SetButtonMediaKey(button, parameter.code);
        else if (parameter.kind == ButtonRecords::KeyParameter::Combination)
            page_->SetButtonComboKey(button, parameter.text);
        else
            page_->functionList_->Assign(*fallback, true);
    }
    page_->UncheckLabels();
    page_->ClosePanels();
    SendFlashData();
}

void ButtonMacros::WriteHeader(const QString& name, const QString& text)
{
    QDir().mkpath(MacroFile::Folder());
    QString error;
    if (!MacroFile::WriteHeader(MacroFile::PathOf(name), text, &error))
        qWarning() << "button page: the macro file of" << name << "is not written:" << error;
}
