#include "pages/buttons/ButtonMacros.h"

#include "core/ButtonRecords.h"
#include "core/MacroFile.h"
#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "dialogs/MacroKeyCodes.h"
#include "pages/buttons/ButtonPageStyle.h"
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

ButtonMacros::ButtonMacros(Ui::Buttoninterface* ui, const QVector<Row>& rows, QButtonGroup* panelGroup, Page page)
    : QObject(page.widget)
    , ui(ui)
    , rows_(rows)
    , panelGroup_(panelGroup)
    , page_(std::move(page))
{
    QVector<int> rowOrder;
    for (const Row& row : qAsConst(rows_))
        rowOrder << row.button;
    pause_ = new MacroSavePause(
        rowOrder, [this](const QString& name) { return Holding(name); },
        [this](const QString& name) { SendRepeat(name); }, this);
}

void ButtonMacros::BuildList()
{
    listLayout_ = new QVBoxLayout;
    listLayout_->setSizeConstraint(QLayout::SetFixedSize);
    listWidget_ = new QWidget(page_.widget);
    listWidget_->setMinimumSize(MacroListWidth, MacroListHeight);
    listWidget_->setMaximumSize(MacroListWidth, MacroListHeight);
    listWidget_->setStyleSheet(QStringLiteral("background-color:transparent;border:none;"));
    listWidget_->setLayout(listLayout_);
    ui->scrollArea_7->setWidget(listWidget_);
    AddButtons();
}

void ButtonMacros::RebuildList()
{
    for (QToolButton* button : qAsConst(buttons_))
        delete button;
    buttons_.clear();
    AddButtons();
}

void ButtonMacros::AddButtons()
{
    const QStringList names = MacroFile::List(MacroFile::Folder());
    const QFont font(FontFamily, FunctionFontPoints);
    const auto make = [&](const QString& text, int height) {
        auto* button = new QToolButton(listWidget_);
        button->setText(text);
        button->setStyleSheet(ButtonPageStyle::MacroButtonRule(page_.pictureDir, page_.buttonColour));
        button->setFont(font);
        button->setMinimumSize(MacroButtonWidth, height);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        listLayout_->addWidget(button);
        buttons_.append(button);
        return button;
    };
    for (const QString& name : names) {
        QToolButton* button = make(name, MacroButtonHeight);
        panelGroup_->addButton(button);
        // The page's slot of the Part, by name: it asks its sender.
        connect(button, SIGNAL(clicked(bool)), page_.widget, SLOT(slotButtonClicked(bool)));
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
    const QString prefix = page_.prefix();
    return text.startsWith(prefix) ? text.mid(prefix.size()) : text;
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

void ButtonMacros::Assign(const QToolButton* macro, QToolButton* label)
{
    if (macro && label) {
        const QString name = macro->text();
        int button = -1;
        for (const Row& row : qAsConst(rows_)) {
            if (row.label == label)
                button = row.button;
        }
        bool ok = false;
        const MacroBlock block = ReadBlock(name, &ok);
        if (ok) {
            const int repeat = HeaderValue(name).toInt();
            if (SetButtonMacro(button, ButtonFunction{MacroType, quint8(button), quint8(repeat)}, block)) {
                label->setText(page_.prefix() + name);
                emit Stored(button, MacroType, button, repeat);
            }
        }
    }
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
    for (const Row& row : qAsConst(rows_)) {
        if (page_.held(row.button).type == MacroType && NameOf(row.label) == name)
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
    for (int k = 0; k < buttons_.size(); ++k) {
        QToolButton* macro = buttons_.at(k);
        if (macro->isEnabled() && page_.prefix() + macro->text() == text) {
            macro->setChecked(true);
            ui->scrollArea_7->verticalScrollBar()->setValue(RowHeight * (k + 1));
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
    for (const Row& row : qAsConst(rows_)) {
        if (page_.held(row.button).type != MacroType || NameOf(row.label) != oldName)
            continue;
        row.label->setText(page_.prefix() + newName);
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

void ButtonMacros::WriteHeader(const QString& name, const QString& text)
{
    QDir().mkpath(MacroFile::Folder());
    QString error;
    if (!MacroFile::WriteHeader(MacroFile::PathOf(name), text, &error))
        qWarning() << "button page: the macro file of" << name << "is not written:" << error;
}
