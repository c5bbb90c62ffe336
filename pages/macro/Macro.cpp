#include "pages/macro/Macro.h"

#include "core/ButtonRecords.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "dialogs/AddDelayTime.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/FileChooser.h"
#include "dialogs/KeyNames.h"
#include "dialogs/KeyNumberLimit.h"
#include "dialogs/MacroKeyCodes.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/SameMacro.h"
#include "dialogs/addKey.h"
#include "pages/macro/MacroExportFile.h"
#include "platform/ReplaceFile.h"
#include "ui_Macro.h"

#include <QButtonGroup>
#include <QFile>
#include <QIcon>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <memory>

namespace {
const QString DelayMark = QStringLiteral("ms");

// Repeat codes of the three repeat modes without a count.
constexpr int RepeatWhileHeld = 254;
constexpr int RepeatUntilClicked = 255;
constexpr int RepeatUntil = 253;
} // namespace

Macro::Macro(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Macro)
{
    ui->setupUi(this);
    LanguageTexts::Follow(this);
    PictureFolder = StyleSheet::PictureFolder(QStringLiteral("Macro"));
    MacroFolder = MacroFile::Folder();
    PostMsg::Connect(SIGNAL(SigButtonToMacro(FlashDataMap, int)), this, SLOT(SlotButtonToMacro(FlashDataMap, int)));
    PostMsg::Connect(SIGNAL(SigMacroDownLoadData(QString, int)), this, SLOT(SlotMacroDownLoadData(QString, int)));
    PostMsg::Connect(SIGNAL(SigSetMacroPage()), this, SLOT(SlotSetMacroPage()));

    DelayModeGroup = new QButtonGroup(this);
    DelayModeGroup->setExclusive(true);
    DelayModeGroup->addButton(ui->AutoInsertDelay);
    DelayModeGroup->addButton(ui->DefaultDelay);
    RepeatModeGroup = new QButtonGroup(this);
    RepeatModeGroup->setExclusive(true);
    for (QAbstractButton* mode : {static_cast<QAbstractButton*>(ui->ReUntilLoose), static_cast<QAbstractButton*>(ui->ReUntilClick),
                                  static_cast<QAbstractButton*>(ui->ReNumber), static_cast<QAbstractButton*>(ui->ReUntil)})
        RepeatModeGroup->addButton(mode);

    ApplyStyles();
    LoadMacroList();
    // A change of the current macro by the keyboard shows that macro, as a
    // click does: the rows shown always belong to the current macro.
    connect(ui->listWidgetHong, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!selecting_ && row >= 0)
            ShowCurrentMacro();
    });
    ui->StopRecord->hide();
    ui->AutoInsertDelay->setChecked(true);
    connect(RepeatModeGroup, &QButtonGroup::idToggled, this, [this] { MarkMacroModified(); }, Qt::DirectConnection);
    SetSaveActive(false);

    // The language children; their texts replace the form's.
    const auto onWidget = [](auto* widget) { return LanguageTexts::TextOf(widget); };
    QVector<LanguageTexts::Child> children = {
        {QStringLiteral("label"), onWidget(ui->label)},
        {QStringLiteral("label_2"), onWidget(ui->label_2)},
        {QStringLiteral("NewHong"), [this](const QString& text) {
             ui->NewHong->setText(text);
             ui->NewHong->setToolTip(LanguageTexts::StoredIndex() == 5 ? text : QString());
         }},
        {QStringLiteral("DeleteHong"), onWidget(ui->DeleteHong)},
        {QStringLiteral("Amend"), onWidget(ui->Amend)},
        {QStringLiteral("DeleteKey"), onWidget(ui->DeleteKey)},
        {QStringLiteral("MacroReal"), LanguageTexts::Keep(&MacroRealText)},
        {QStringLiteral("StartRecord"), onWidget(ui->StartRecord)},
        {QStringLiteral("StopRecord"), onWidget(ui->StopRecord)},
        {QStringLiteral("AutoInsertDelay"), onWidget(ui->AutoInsertDelayLabel)},
        {QStringLiteral("DefaultDelay"), onWidget(ui->DefaultDelay)},
        {QStringLiteral("ReUntilLoose"), onWidget(ui->ReUntilLooseLabel)},
        {QStringLiteral("ReUntilClick"), onWidget(ui->ReUntilClickLabel)},
        {QStringLiteral("ReUntil"), onWidget(ui->ReUntilLabel)},
        {QStringLiteral("ReNumber"), onWidget(ui->ReNumber)},
        {QStringLiteral("label_3"), onWidget(ui->label_3)},
        {QStringLiteral("Save"), onWidget(ui->Save)},
    };
    for (int item = 1; item <= 8; ++item) {
        children.append({QStringLiteral("ChooseEvent%1").arg(item), [this, item](const QString& text) {
                             ui->ChooseEvent->setItemText(item, text);
                             if (item >= 4)
                                 MouseButtonNames[item - 4] = text;
                         }});
    }
    for (int key = 0; key < 5; ++key)
        children.append({QStringLiteral("Key%1").arg(key + 1), LanguageTexts::Keep(&MenuTexts[key])});
    language_ = std::make_unique<LanguageTexts>(QStringLiteral("Macro"), children);
    language_->SetFinished([this] { RenameMouseRows(); });
    SlotChangeLanguage(LanguageTexts::StoredIndex());
}

Macro::~Macro()
{
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    if (MacroRecording && recorder_.IsHooked())
        MacroRecording = false;
    delete ui;
}

void Macro::ApplyStyles()
{
    const QString lists = QStringLiteral(
        "{background-color: rgb(34, 37, 44);color: rgb(255, 255, 255);outline: 0px;"
        "border: 1px solid rgb(51, 55, 63);border-radius: 4px;padding: 4px;}"
        "QListWidget::item{padding: 3px 2px;}"
        "QListWidget::item:selected:active,QListWidget::item:selected:!active{background: rgb(%1);color: rgb(255, 255, 255);}"
        "QListWidget::item:hover{background: transparent;}"
        "QScrollBar:vertical{width: 20px;margin: 22px 0 22px 0;background: rgb(30,30,30);}"
        "QScrollBar::handle:vertical{background: rgb(117, 117, 117);border-radius: 3px;min-height: 30px;margin: 2px 4px 2px 6px;}"
        "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{height: 25px;background: rgb(30,30,30);}"
        "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{background: rgb(30,30,30);}")
        .arg(StyleSheet::ColourText(QStringLiteral("ComboxSelectColor")));
    const QString arrows = QStringLiteral("QScrollBar::up-arrow:vertical{border-image: url(") + PictureFolder
        + QStringLiteral("Up.png);width: 15px;height: 15px;margin: 1px 2px 1px 4px;}"
                         "QScrollBar::down-arrow:vertical {border-image: url(")
        + PictureFolder + QStringLiteral("Down.png);width: 15px;height: 15px;\tmargin: 1px 2px 1px 4px;}");
    ui->listWidgetHong->setStyleSheet(QStringLiteral("#listWidgetHong") + lists + arrows);
    ui->listWidgetKey->setStyleSheet(QStringLiteral("#listWidgetKey") + lists + arrows);

    ui->ChooseEvent->setStyleSheet(StyleSheet::ComboBoxRule(PictureFolder));
    auto* view = new QListView(ui->ChooseEvent);
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->ChooseEvent->setMaxVisibleItems(5);
    ui->ChooseEvent->setView(view);

    ButtonColorText = StyleSheet::ColourText(QStringLiteral("ButtonColor"));
    const QString label = StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor"));
    for (QLabel* text : {ui->label, ui->label_2, ui->label_3, ui->AutoInsertDelayLabel, ui->ReUntilLabel,
                         ui->ReUntilClickLabel, ui->ReUntilLooseLabel})
        text->setStyleSheet(label);
    const QString check = StyleSheet::CheckBoxRule(PictureFolder, QStringLiteral("LabelColor"));
    for (QCheckBox* box : {ui->AutoInsertDelay, ui->DefaultDelay, ui->ReUntilLoose, ui->ReUntilClick, ui->ReUntil,
                           ui->ReNumber})
        box->setStyleSheet(check);
    const QString active = StyleSheet::PictureRule(QStringLiteral("QToolButton"), PictureFolder,
                                                   QStringLiteral("Button.png"), ButtonColorText)
        + StyleSheet::PictureRule(QStringLiteral("QToolButton:hover"), PictureFolder, QStringLiteral("ButtonHover.png"))
        + StyleSheet::PictureRule(QStringLiteral("QToolButton:pressed"), PictureFolder,
                                  QStringLiteral("ButtonClick.png"));
    for (QToolButton* button : {ui->NewHong, ui->DeleteHong, ui->Amend, ui->DeleteKey})
        button->setStyleSheet(active);
    const auto record = [this](const QString& picture, const QString& hover) {
        return StyleSheet::PictureRule(QStringLiteral("QPushButton"), PictureFolder, picture, ButtonColorText)
            + StyleSheet::PictureRule(QStringLiteral("QPushButton:hover"), PictureFolder, hover);
    };
    ui->StartRecord->setStyleSheet(record(QStringLiteral("Record.png"), QStringLiteral("RecordHover.png")));
    ui->StopRecord->setStyleSheet(record(QStringLiteral("Stop.png"), QStringLiteral("StopHover.png")));
    const QString spin = QStringLiteral("QSpinBox{background-color: rgb(63, 63, 63);color: rgb(")
        + StyleSheet::ColourText(QStringLiteral("LinEditColorSecond")) + QStringLiteral(";);border: none;}");
    ui->DelayTime->setStyleSheet(spin);
    ui->NumberEdit->setStyleSheet(spin);
}

void Macro::SetSaveActive(bool active)
{
    if (active) {
        ui->Save->setStyleSheet(
            StyleSheet::PictureRule(QStringLiteral("QToolButton"), PictureFolder, QStringLiteral("Button.png"),
                                    ButtonColorText)
            + StyleSheet::PictureRule(QStringLiteral("QToolButton:hover"), PictureFolder,
                                      QStringLiteral("ButtonHover.png"))
            + StyleSheet::PictureRule(QStringLiteral("QToolButton:pressed"), PictureFolder,
                                      QStringLiteral("ButtonClick.png")));
    } else {
        ui->Save->setStyleSheet(StyleSheet::PictureRule(QStringLiteral("QToolButton"), PictureFolder,
                                                        QStringLiteral("Button.png"), StyleSheet::DisabledColour()));
    }
    ui->Save->setEnabled(active);
}

void Macro::MarkMacroModified()
{
    RepeatModified = true;
    SetSaveActive(true);
}

void Macro::MarkEventsChanged()
{
    EventsModified = true;
    SetSaveActive(true);
}

// ---------------------------------------------------------------------------
// Language and page events

void Macro::SlotChangeLanguage(int index)
{
    language_->Load(index);
}

void Macro::RenameMouseRows()
{
    const QSignalBlocker blocker(ui->listWidgetKey);
    for (int row = 0; row < ui->listWidgetKey->count(); ++row) {
        QListWidgetItem* item = ui->listWidgetKey->item(row);
        if (IsDelayRow(item) || item->data(KindRole).toInt() != MacroKeyCodes::Mouse || !item->data(KindRole).isValid())
            continue;
        const QString name = MacroKeyCodes::MouseNameFromMask(item->data(CodeRole).toInt());
        if (!name.isEmpty())
            item->setText(name);
    }
}

void Macro::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        const int index = ui->ChooseEvent->currentIndex();
        const int delay = ui->DelayTime->value();
        const int number = ui->NumberEdit->value();
        const QSignalBlocker a(ui->ChooseEvent);
        const QSignalBlocker b(ui->DelayTime);
        const QSignalBlocker c(ui->NumberEdit);
        ui->retranslateUi(this);
        ui->DelayTime->setValue(delay);
        ui->NumberEdit->setValue(number);
        ui->ChooseEvent->setCurrentIndex(index);
    }
    QWidget::changeEvent(event);
}

void Macro::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    QWidget::keyPressEvent(event);
}

void Macro::mousePressEvent(QMouseEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto inside = [this, event](QWidget* box) {
            return QRect(box->mapTo(this, QPoint(0, 0)), box->size()).contains(event->pos());
        };
        if (!inside(ui->DelayTime) && !inside(ui->NumberEdit)) {
            ui->DelayTime->clearFocus();
            ui->NumberEdit->clearFocus();
            setFocus(Qt::OtherFocusReason);
        }
    }
    QWidget::mousePressEvent(event);
}

// ---------------------------------------------------------------------------
// Dialogs

template <class Dialog>
void Macro::Place(Dialog* dialog, int dx, int dy)
{
    DialogPlacement::CentreOver(dialog, this, dx, dy);
}

bool Macro::RecordingNoticeShown()
{
    if (!MacroRecording)
        return false;
    ExeIsRun notice;
    notice.ShowPleaseStopText();
    Place(&notice);
    notice.exec();
    return true;
}

void Macro::ShowSameMacro(const QSize& promptSize)
{
    SameMacro notice;
    DialogPlacement::CentreOver(&notice, this, promptSize.isValid() ? promptSize : notice.size(), DialogDx, DialogDy);
    notice.exec();
}

void Macro::ShowFailure(ExeIsRun::Failure failure)
{
    ExeIsRun notice;
    notice.ShowFailure(failure);
    Place(&notice);
    notice.exec();
}

// ---------------------------------------------------------------------------
// Rows

bool Macro::IsDelayRow(const QListWidgetItem* item)
{
    return item->text().contains(DelayMark);
}

QListWidgetItem* Macro::KeyRow(const QString& name, bool press) const
{
    int kind = MacroKeyCodes::Key;
    int code = 0;
    if (!MacroKeyCodes::CodeOf(name, &kind, &code))
        kind = -1;
    return CodedKeyRow(name, press, kind, code);
}

QListWidgetItem* Macro::CodedKeyRow(const QString& name, bool press, int kind, int code) const
{
    auto* item = new QListWidgetItem(QIcon(PictureFolder + (press ? QStringLiteral("MacroDown.png")
                                                                  : QStringLiteral("MacroUp.png"))),
                                     name, nullptr, press ? PressRow : ReleaseRow);
    if (kind >= 0) {
        item->setData(KindRole, kind);
        item->setData(CodeRole, code);
    }
    return item;
}

QListWidgetItem* Macro::RowOf(const MacroFile::Line& line) const
{
    if (line.delay)
        return DelayRow(line.text);
    int kind = -1;
    int code = 0;
    if (MacroKeyCodes::KnownCode(line.code, line.kind, &code))
        kind = line.kind;
    return CodedKeyRow(KeyNameFromHidCode(line.code, line.kind), !line.release, kind, code);
}

QListWidgetItem* Macro::DelayRow(const QString& text) const
{
    return new QListWidgetItem(QIcon(PictureFolder + QStringLiteral("MacroTime.png")), text, nullptr, PressRow);
}

int Macro::KeyRowCount() const
{
    int keys = 0;
    for (int row = 0; row < ui->listWidgetKey->count(); ++row)
        keys += !IsDelayRow(ui->listWidgetKey->item(row));
    return keys;
}

bool Macro::RoomForKeyRows(int added)
{
    if (KeyRowCount() + added <= MaxKeyRows)
        return true;
    KeyNumberLimit notice;
    Place(&notice);
    notice.exec();
    return false;
}

void Macro::AppendKeyRow(const QString& name, bool press)
{
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    ui->listWidgetKey->addItem(KeyRow(name, press));
    ui->listWidgetKey->setCurrentRow(ui->listWidgetKey->count() - 1);
}

void Macro::AppendDelayRow(qint64 ms)
{
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    ui->listWidgetKey->addItem(DelayRow(QString::number(qBound<qint64>(0, ms, MaxEventDelay)) + DelayMark));
    ui->listWidgetKey->setCurrentRow(ui->listWidgetKey->count() - 2);
}

void Macro::InsertKeyRowWithDelay(const QString& name, bool press)
{
    QListWidget* list = ui->listWidgetKey;
    const int r = list->currentRow();
    const int c = list->count();
    QListWidgetItem* key = KeyRow(name, press);
    QListWidgetItem* delay = DelayRow(QStringLiteral("10ms"));
    if (c == 0) {
        delete delay;
        list->insertItem(0, key);
    } else if (r < 0 || r == c - 1) {
        list->insertItem(c, delay);
        list->insertItem(c + 1, key);
    } else if (r == 0) {
        list->insertItem(2, key);
        list->insertItem(3, delay);
    } else if (IsDelayRow(list->item(r))) {
        list->insertItem(r + 1, key);
        list->insertItem(r + 2, delay);
    } else {
        list->insertItem(r + 2, key);
        list->insertItem(r + 3, delay);
    }
    if (r >= 0)
        list->setCurrentRow(r);
}

void Macro::InsertMouseClickRows(int mouseButton)
{
    static const int bits[MouseButtonCount] = {0x01, 0x02, 0x04, 0x10, 0x08};
    const QString name = MouseButtonNames[mouseButton];
    QListWidget* list = ui->listWidgetKey;
    const int r = list->currentRow();
    const int c = list->count();
    const auto press = [&] { return CodedKeyRow(name, true, MacroKeyCodes::Mouse, bits[mouseButton]); };
    const auto release = [&] { return CodedKeyRow(name, false, MacroKeyCodes::Mouse, bits[mouseButton]); };
    const auto delay = [this] { return DelayRow(QStringLiteral("10ms")); };
    QVector<QListWidgetItem*> rows;
    int at = 0;
    if (c == 0) {
        rows = {press(), delay(), release()};
    } else if (r < 0 || r == c - 1) {
        rows = {delay(), press(), delay(), release()};
        at = c;
    } else if (r == 0) {
        rows = {press(), delay(), release(), delay()};
        at = 2;
    } else if (IsDelayRow(list->item(r))) {
        rows = {press(), delay(), release(), delay()};
        at = r + 1;
    } else {
        rows = {delay(), press(), delay(), release()};
        at = r + 1;
    }
    for (int i = 0; i < rows.size(); ++i)
        list->insertItem(at + i, rows.at(i));
    if (r >= 0)
        list->setCurrentRow(r);
}

void Macro::InsertDelayRow(int ms)
{
    QListWidget* list = ui->listWidgetKey;
    const QString text = QString::number(qBound(0, ms, MaxEventDelay)) + DelayMark;
    const int r = list->currentRow();
    if (r < 0) {
        list->addItem(DelayRow(text));
        return;
    }
    if (r == 0)
        return;
    int at = r;
    if (IsDelayRow(list->item(r))) {
        delete list->takeItem(r);
    } else if (IsDelayRow(list->item(r - 1))) {
        at = r - 1;
        delete list->takeItem(at);
    }
    list->insertItem(at, DelayRow(text));
    list->setCurrentRow(at);
}

QVector<MacroFile::Line> Macro::LinesOf(const QList<QListWidgetItem*>& rows)
{
    QVector<MacroFile::Line> lines;
    for (const QListWidgetItem* item : rows) {
        MacroFile::Line line;
        if (IsDelayRow(item)) {
            line.delay = true;
            line.text = item->text();
        } else {
            int kind = MacroKeyCodes::Key;
            int code = 0;
            if (item->data(KindRole).isValid()) {
                kind = item->data(KindRole).toInt();
                code = item->data(CodeRole).toInt();
            } else if (!MacroKeyCodes::CodeOf(item->text(), &kind, &code)) {
                // A name outside the vocabulary is the empty key, as on the device.
                kind = MacroKeyCodes::Key;
                code = 0;
            }
            line.code = MacroKeyCodes::CodeText(code);
            line.kind = kind;
            line.release = item->type() == ReleaseRow;
        }
        lines.append(line);
    }
    return lines;
}

QVector<MacroFile::Line> Macro::ShownLines() const
{
    QList<QListWidgetItem*> rows;
    for (int row = 0; row < ui->listWidgetKey->count(); ++row)
        rows.append(ui->listWidgetKey->item(row));
    return LinesOf(rows);
}

MacroBlock Macro::BlockOf(const QString& name, const QVector<MacroFile::Line>& lines)
{
    MacroBlock block;
    ButtonRecords::SetMacroName(&block, name);
    int events = 0;
    for (int row = 0; row < lines.size() && events < MacroBlock::MaxEvents; ++row) {
        const MacroFile::Line& line = lines.at(row);
        DeviceEvent& event = block.events[events];
        if (row % 2 == 0) {
            // A key row; a delay row out of place is the empty key.
            event.release = line.delay ? 0 : quint8(line.release);
            event.kind = line.delay ? quint8(MacroKeyCodes::Key) : quint8(line.kind);
            event.code = line.delay ? quint16(0) : quint16(line.code.midRef(2).toInt(nullptr, 16));
            event.delay = 0;
            if (row == lines.size() - 1)
                ++events;
        } else {
            const qint64 delay = QString(line.text).remove(DelayMark).toLongLong();
            event.delay = quint32(qBound<qint64>(0, delay, MaxEventDelay));
            ++events;
        }
    }
    block.count = quint8(events);
    return block;
}

// ---------------------------------------------------------------------------
// The macro list and files

QString Macro::CurrentMacro() const
{
    const QListWidgetItem* item = ui->listWidgetHong->currentItem();
    return item && ui->listWidgetHong->currentRow() >= 0 ? item->text() : QString();
}

bool Macro::HasMacro(const QString& name) const
{
    for (int row = 0; row < ui->listWidgetHong->count(); ++row) {
        if (ui->listWidgetHong->item(row)->text() == name)
            return true;
    }
    return false;
}

void Macro::LoadMacroList()
{
    ui->listWidgetHong->addItems(MacroFile::List(MacroFolder));
}

void Macro::SetRepeatCode(int code)
{
    switch (code) {
    case RepeatWhileHeld:
        ui->ReUntilLoose->setChecked(true);
        break;
    case RepeatUntilClicked:
        ui->ReUntilClick->setChecked(true);
        break;
    case RepeatUntil:
        ui->ReUntil->setChecked(true);
        break;
    default:
        ui->ReNumber->setChecked(true);
        ui->NumberEdit->setValue(code >= 1 && code <= 250 ? code : 1);
        break;
    }
}

int Macro::RepeatCode() const
{
    if (ui->ReUntilLoose->isChecked())
        return RepeatWhileHeld;
    if (ui->ReUntilClick->isChecked())
        return RepeatUntilClicked;
    if (ui->ReUntil->isChecked())
        return RepeatUntil;
    return ui->NumberEdit->value();
}

void Macro::LoadMacroFile()
{
    const QString name = CurrentMacro();
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    ui->listWidgetKey->clear();
    MacroFile::Content content;
    if (!MacroFile::Read(MacroFile::PathOf(MacroFolder, name), &content))
        return;
    if (content.hasHeader)
        SetRepeatCode(MacroFile::RepeatCodeOf(content.header));
    for (const MacroFile::Line& line : qAsConst(content.lines))
        ui->listWidgetKey->addItem(RowOf(line));
}

void Macro::ShowCurrentMacro()
{
    SetSaveActive(false);
    ui->listWidgetKey->clear();
    const QSignalBlocker repeat(RepeatModeGroup);
    const QSignalBlocker number(ui->NumberEdit);
    LoadMacroFile();
}

void Macro::on_listWidgetHong_clicked(const QModelIndex&)
{
    ShowCurrentMacro();
}

void Macro::on_NewHong_clicked()
{
    if (RecordingNoticeShown())
        return;
    QuestionDialog prompt;
    prompt.ShowSecondText(false);
    Place(&prompt);
    prompt.exec();
    const QString name = prompt.ResultText;
    if (name.isEmpty())
        return;
    if (!MacroFile::NameAllowed(name)) {
        ShowFailure(ExeIsRun::Failure::Name);
        return;
    }
    const QString path = MacroFile::PathOf(MacroFolder, name);
    if (HasMacro(name) || QFile::exists(path)) {
        ShowSameMacro(prompt.size());
        return;
    }
    if (!MacroFile::CreateEmpty(path)) {
        ShowFailure(ExeIsRun::Failure::Save);
        return;
    }
    selecting_ = true;
    ui->listWidgetHong->addItem(name);
    ui->listWidgetHong->setCurrentRow(ui->listWidgetHong->count() - 1);
    selecting_ = false;
    ui->listWidgetKey->clear();
    ui->ReNumber->setChecked(true);
    ui->NumberEdit->setValue(1);
}

void Macro::CreateMewMacro()
{
    on_NewHong_clicked();
}

void Macro::RenameMacro()
{
    QListWidgetItem* item = ui->listWidgetHong->currentItem();
    if (!item)
        return;
    const QString oldName = item->text();
    QuestionDialog prompt;
    prompt.ShowSecondText(true);
    Place(&prompt);
    prompt.exec();
    const QString newName = prompt.ResultText;
    if (newName.isEmpty())
        return;
    if (!MacroFile::NameAllowed(newName)) {
        ShowFailure(ExeIsRun::Failure::Name);
        return;
    }
    const QString newPath = MacroFile::PathOf(MacroFolder, newName);
    if (HasMacro(newName) || QFile::exists(newPath)) {
        ShowSameMacro(prompt.size());
        return;
    }
    if (!QFile::rename(MacroFile::PathOf(MacroFolder, oldName), newPath)) {
        qWarning("macro %s not renamed: its file could not be renamed", qPrintable(oldName));
        ShowFailure(ExeIsRun::Failure::Rename);
        return;
    }
    item->setText(newName);
    PostMsg::Instance()->PostMacroRename(oldName, newName);
}

void Macro::on_DeleteHong_clicked()
{
    if (RecordingNoticeShown())
        return;
    QListWidgetItem* item = ui->listWidgetHong->currentItem();
    if (!item || ui->listWidgetHong->currentRow() < 0)
        return;
    DeleteConfirm question;
    Place(&question);
    question.exec();
    if (!question.Confirmed)
        return;
    const QString name = item->text();
    QFile file(MacroFile::PathOf(MacroFolder, name));
    if (file.exists() && !file.remove()) {
        qWarning("macro %s not deleted: %s", qPrintable(name), qPrintable(file.errorString()));
        ShowFailure(ExeIsRun::Failure::Delete);
        return;
    }
    PostMsg::Instance()->PostDeleteMacroButton(MacroRealText + name);
    selecting_ = true;
    delete ui->listWidgetHong->takeItem(ui->listWidgetHong->row(item));
    ui->listWidgetKey->clear();
    ui->listWidgetHong->setCurrentRow(-1);
    selecting_ = false;
}

void Macro::DeleteMacro()
{
    on_DeleteHong_clicked();
}

void Macro::on_listWidgetHong_customContextMenuRequested(const QPoint& pos)
{
    QMenu menu(this);
    menu.setStyleSheet(StyleSheet::MenuRule());
    if (QListWidgetItem* item = ui->listWidgetHong->itemAt(pos)) {
        ui->listWidgetHong->setCurrentItem(item);
        connect(menu.addAction(MenuTexts.at(0)), SIGNAL(triggered()), this, SLOT(ExPortMacro()));
        connect(menu.addAction(MenuTexts.at(1)), SIGNAL(triggered()), this, SLOT(RenameMacro()));
        connect(menu.addAction(MenuTexts.at(2)), SIGNAL(triggered()), this, SLOT(DeleteMacro()));
    } else {
        connect(menu.addAction(MenuTexts.at(3)), SIGNAL(triggered()), this, SLOT(CreateMewMacro()));
        connect(menu.addAction(MenuTexts.at(4)), SIGNAL(triggered()), this, SLOT(InPortMacro()));
    }
    menu.exec(ui->listWidgetHong->viewport()->mapToGlobal(pos));
}

void Macro::EndRecordingLook()
{
    recorder_.UnHook();
    ui->StopRecord->hide();
    ui->StartRecord->show();
    ui->DelayTime->show();
    ui->NumberEdit->show();
    ui->listWidgetHong->setEnabled(true);
    MacroRecording = false;
    LastVirtualKey = -1;
}

void Macro::SlotSetMacroPage()
{
    PostMsg::Instance()->PostStartRecord(1);
    EndRecordingLook();
    SetSaveActive(false);
    // The insert list is usable again whatever state the recording left.
    ui->ChooseEvent->setEnabled(true);
}

// ---------------------------------------------------------------------------
// Recording

void Macro::on_StartRecord_clicked()
{
    if (ui->listWidgetHong->currentRow() < 0) {
        ExeIsRun notice;
        notice.ShowSecondText();
        Place(&notice);
        notice.exec();
        return;
    }
    PostMsg::Instance()->PostStartRecord(0);
    RecordedKeyRows = 0;
    ui->ChooseEvent->setEnabled(false);
    EventsModified = true;
    if (!recorder_.IsHooked())
        recorder_.SetHook();
    recorder_.SetCallback([this](int vk, bool down, bool repeat) { UpdateCapslockTip(vk, down, repeat); });
    ui->StartRecord->hide();
    ui->StopRecord->show();
    MacroRecording = true;
    FirstKeyPending = true;
    ui->listWidgetKey->clear();
    ui->DelayTime->hide();
    ui->NumberEdit->hide();
    ui->listWidgetHong->setEnabled(false);
    LastVirtualKey = -1;
}

void Macro::on_StopRecord_clicked()
{
    PostMsg::Instance()->PostStartRecord(1);
    RecordedKeyRows = 0;
    EndRecordingLook();
    ui->ChooseEvent->setEnabled(true);
    SetSaveActive(true);
}

void Macro::UpdateCapslockTip(int vk, bool down, bool)
{
    if (!MacroRecording) {
        KeyTimer.restart();
        return;
    }
    if (vk == LastVirtualKey) {
        if (down)
            return;
        LastVirtualKey = 0;
    } else {
        LastVirtualKey = vk;
    }
    if (FirstKeyPending) {
        KeyTimer.restart();
        FirstKeyPending = false;
    } else {
        AppendDelayRow(ui->DefaultDelay->isChecked() ? qint64(ui->DelayTime->value()) : KeyTimer.elapsed());
        KeyTimer.restart();
    }
    if (!KeyNames::Known(vk, KeyNames::Recorder)) {
        FirstKeyPending = true;
        return;
    }
    ++RecordedKeyRows;
    AppendKeyRow(KeyNames::Name(vk, KeyNames::Recorder), down);
    if (RecordedKeyRows >= MaxKeyRows) {
        MacroRecording = false;
        RecordedKeyRows = 0;
        recorder_.UnHook();
        KeyNumberLimit notice;
        Place(&notice);
        notice.exec();
    }
}

// ---------------------------------------------------------------------------
// Editing and saving

void Macro::on_ChooseEvent_activated(int index)
{
    const bool selected = ui->listWidgetHong->currentRow() >= 0;
    if (index == 1 || index == 2) {
        addKey dialog;
        Place(&dialog, EventDialogDx, EventDialogDy);
        const int result = dialog.exec();
        if (result == QDialog::Accepted && dialog.Confirmed && selected && RoomForKeyRows(1)) {
            MarkEventsChanged();
            InsertKeyRowWithDelay(dialog.KeyName, index == 1);
        }
    } else if (index == 3) {
        AddDelayTime dialog;
        Place(&dialog, EventDialogDx, EventDialogDy);
        dialog.exec();
        if (dialog.Confirmed && selected && ui->listWidgetKey->currentRow() >= 0) {
            MarkEventsChanged();
            InsertDelayRow(dialog.Delay);
        }
    } else if (index >= 4 && index <= 8) {
        if (selected && RoomForKeyRows(2)) {
            MarkEventsChanged();
            InsertMouseClickRows(index - 4);
        }
    }
}

void Macro::on_Amend_clicked()
{
    if (RecordingNoticeShown())
        return;
    QListWidgetItem* item = ui->listWidgetKey->currentItem();
    if (!item || ui->listWidgetKey->currentRow() < 0)
        return;
    if (IsDelayRow(item)) {
        AddDelayTime dialog;
        Place(&dialog, EventDialogDx, EventDialogDy);
        dialog.exec();
        if (!dialog.Confirmed)
            return;
        item->setText(QString::number(dialog.Delay) + DelayMark);
    } else {
        addKey dialog;
        Place(&dialog, EventDialogDx, EventDialogDy);
        if (dialog.exec() != QDialog::Accepted || !dialog.Confirmed)
            return;
        int kind = 0;
        int code = 0;
        {
            const QSignalBlocker blocker(ui->listWidgetKey);
            const bool known = MacroKeyCodes::CodeOf(dialog.KeyName, &kind, &code);
            item->setData(KindRole, known ? QVariant(kind) : QVariant());
            item->setData(CodeRole, known ? QVariant(code) : QVariant());
        }
        item->setText(dialog.KeyName);
    }
    SetSaveActive(true);
}

void Macro::on_listWidgetKey_itemChanged(QListWidgetItem*)
{
    EventsModified = true;
}

void Macro::on_DeleteKey_clicked()
{
    if (RecordingNoticeShown())
        return;
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    QListWidget* list = ui->listWidgetKey;
    const int count = list->count();
    if (count <= 3) {
        list->clear();
    } else {
        const int r = list->currentRow();
        if (r < 0)
            return;
        int first = r;
        if (r == count - 1 || IsDelayRow(list->item(r)))
            first = r - 1;
        delete list->takeItem(first + 1);
        delete list->takeItem(first);
    }
    MarkEventsChanged();
}

void Macro::on_DelayTime_valueChanged(int value)
{
    if (value >= 65535)
        ui->DelayTime->setValue(65535);
}

void Macro::on_NumberEdit_valueChanged(int)
{
    MarkMacroModified();
}

void Macro::on_Save_clicked()
{
    if (RecordingNoticeShown())
        return;
    SetSaveActive(false);
    const QString name = CurrentMacro();
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    QString error;
    if (!MacroFile::Write(MacroFile::PathOf(MacroFolder, name), QString::number(RepeatCode()), ShownLines(), &error)) {
        // The edits stay as they are, to be saved again.
        qWarning("macro %s not saved: %s", qPrintable(name), qPrintable(error));
        SetSaveActive(true);
        ShowFailure(ExeIsRun::Failure::Save);
        return;
    }
    if (EventsModified) {
        EventsModified = false;
        PostMsg::Instance()->PostUpDataMacro(name, 0);
    }
    if (RepeatModified) {
        RepeatModified = false;
        PostMsg::Instance()->PostUpDataMacro(name, 1);
    }
}

void Macro::on_NumberEdit_editingFinished() {}
void Macro::on_ReUntilLoose_released() {}
void Macro::on_ReUntilClick_released() {}
void Macro::on_ReNumber_released() {}
void Macro::on_AutoInsertDelay_released() {}

// ---------------------------------------------------------------------------
// The macro and the device

void Macro::SlotButtonToMacro(FlashDataMap image, int button)
{
    if (button < 0 || button >= FlashDataMap::ButtonCount)
        return;
    const MacroBlock& block = image.macros[button];
    const QString name = ButtonRecords::MacroName(block);
    if (!MacroFile::NameAllowed(name)) {
        qWarning("macro of button %d not taken: its name cannot name a file", button);
        return;
    }
    selecting_ = true;
    ui->listWidgetKey->clear();
    QListWidget* list = ui->listWidgetHong;
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty()) {
        list->setCurrentItem(found.first());
    } else if (list->currentRow() >= 0) {
        list->insertItem(list->currentRow() + 1, name);
    } else {
        list->addItem(name);
        list->setCurrentRow(list->count() - 1);
    }
    // A count the block cannot hold is read as its most.
    const int count = qMin<int>(block.count, MacroBlock::MaxEvents);
    for (int i = 0; i < count; ++i) {
        const DeviceEvent& event = block.events[i];
        const int kind = event.kind;
        const int code = event.code;
        QListWidgetItem* row;
        if (kind == MacroKeyCodes::Mouse) {
            const QString mouse = MacroKeyCodes::MouseNameFromMask(code);
            const bool known = MacroKeyCodes::KnownCode(MacroKeyCodes::CodeText(code), kind, nullptr);
            row = known ? CodedKeyRow(mouse, event.release == 0, kind, code) : KeyRow(mouse, event.release == 0);
        } else {
            row = KeyRow(MacroKeyCodes::NameFromDeviceCode(code, kind), event.release == 0);
        }
        ui->listWidgetKey->addItem(row);
        if (i < count - 1)
            AppendDelayRow(event.delay);
    }
    const QString path = MacroFile::PathOf(MacroFolder, name);
    if (count > 0 && QFile::exists(path) && !MacroFile::Append(path, ShownLines()))
        qWarning("macro %s: the events of the device were not added to its file", qPrintable(name));
    list->setCurrentRow(-1);
    selecting_ = false;
    PostMsg::Instance()->PostAddMacroButton();
    ui->listWidgetKey->clear();
}

void Macro::SlotMacroDownLoadData(QString name, int button)
{
    if (button < 0 || button >= FlashDataMap::ButtonCount || !UiReady)
        return;
    name.remove(QChar(0));
    const ButtonFunction function = LiveFlashData.get().buttons[button];
    QVector<MacroFile::Line> lines;
    // What was saved: the list shown, unless it holds changes made since
    // (the events go after a pause in which the window takes input).
    if (ui->listWidgetHong->currentRow() >= 0 && name == CurrentMacro() && !EventsModified) {
        lines = ShownLines();
    } else {
        // Not the macro shown as saved: its saved rows, as the file reader
        // reads them.
        MacroFile::Content content;
        if (!MacroFile::Read(MacroFile::PathOf(MacroFolder, name), &content))
            return;
        for (MacroFile::Line line : qAsConst(content.lines)) {
            if (!line.delay && !line.text.contains(DelayMark)) {
                int code = 0;
                if (!MacroKeyCodes::KnownCode(line.code, line.kind, &code)) {
                    line.code = MacroKeyCodes::CodeText(0);
                    line.kind = MacroKeyCodes::Key;
                }
            }
            lines.append(line);
        }
    }
    SetButtonMacro(button, function, BlockOf(name, lines));
}

// ---------------------------------------------------------------------------
// Export and import

void Macro::ExPortMacro()
{
    const QString name = CurrentMacro();
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    const QString path = FileChooser::SaveFile(this, FileChooser::Use::Macro, QStringLiteral("FileSave"),
                                               QStringLiteral("File(*.ini)"));
    if (path.isEmpty())
        return;
    QList<QListWidgetItem*> items;
    for (int row = 0; row < ui->listWidgetKey->count(); ++row)
        items.append(ui->listWidgetKey->item(row));
    const QVector<MacroFile::Line> lines = LinesOf(items);
    QVector<MacroExportFile::Row> rows;
    for (int row = 0; row < items.size(); ++row)
        rows.append({items.at(row)->text(), items.at(row)->icon(), lines.at(row)});
    QString error;
    if (!ReplaceFile(path, MacroExportFile::Format(name, RepeatCode(), rows), &error)) {
        qWarning("macro %s not exported: %s", qPrintable(name), qPrintable(error));
        ShowFailure(ExeIsRun::Failure::Export);
    }
}

void Macro::InPortMacro()
{
    const QString path = FileChooser::OpenFile(this, FileChooser::Use::Macro, QStringLiteral("SelectFile"),
                                               QStringLiteral("File(*.ini)"));
    if (path.isEmpty())
        return;
    // The whole file is read and checked before anything changes.
    QFile file(path);
    MacroExportFile::Macro macro;
    if (!file.open(QIODevice::ReadOnly) || file.size() > MacroExportFile::MaxFileSize
        || !MacroExportFile::Parse(file.read(MacroExportFile::MaxFileSize + 1), &macro)) {
        qWarning("no macro imported: %s is not a macro export", qPrintable(path));
        ShowFailure(ExeIsRun::Failure::Import);
        return;
    }
    file.close();
    const QString macroPath = MacroFile::PathOf(MacroFolder, macro.name);
    if (HasMacro(macro.name) || QFile::exists(macroPath)) {
        ShowSameMacro(QSize());
        return;
    }
    // The rows are made from the values read, with the page's own icons, and
    // written in the page's own form.
    QList<QListWidgetItem*> items;
    for (const MacroFile::Line& line : qAsConst(macro.lines))
        items.append(RowOf(line));
    QString error;
    if (!MacroFile::Write(macroPath, QString::number(macro.repeatCode), LinesOf(items), &error)) {
        qWarning("macro %s not imported: %s", qPrintable(macro.name), qPrintable(error));
        qDeleteAll(items);
        ShowFailure(ExeIsRun::Failure::Save);
        return;
    }
    selecting_ = true;
    ui->listWidgetHong->addItem(macro.name);
    ui->listWidgetHong->setCurrentRow(ui->listWidgetHong->count() - 1);
    selecting_ = false;
    ui->listWidgetKey->clear();
    for (QListWidgetItem* item : qAsConst(items))
        ui->listWidgetKey->addItem(item);
}
