#include "pages/macro/Macro.h"

#include "core/ButtonRecords.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "dialogs/AddDelayTime.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/KeyNumberLimit.h"
#include "dialogs/MacroKeyCodes.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/SameMacro.h"
#include "dialogs/addKey.h"
#include "pages/macro/MacroPageStyle.h"
#include "pages/macro/MacroPageTexts.h"
#include "pages/macro/MacroRecorder.h"
#include "pages/macro/MacroDeviceTransfer.h"
#include "pages/macro/MacroExportImport.h"
#include "ui_Macro.h"

#include <QButtonGroup>
#include <QFile>
#include <QIcon>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <memory>

namespace {
const QString& DelayMark = MacroRows::DelayMark;

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
    recording_ = std::make_unique<MacroRecorder>(ui, [this](QWidget* notice) { Place(notice); });
    connect(recording_.get(), &MacroRecorder::Started, this, [this] { EventsModified = true; });
    connect(recording_.get(), &MacroRecorder::KeyRecorded, this, &Macro::AppendKeyRow);
    connect(recording_.get(), &MacroRecorder::DelayRecorded, this, &Macro::AppendDelayRow);
    connect(recording_.get(), &MacroRecorder::Stopped, this, [this] { SetSaveActive(true); });
    LanguageTexts::Follow(this);
    PictureFolder = StyleSheet::PictureFolder(QStringLiteral("Macro"));
    MacroFolder = MacroFile::Folder();
    rows_ = std::make_unique<MacroRows>(ui, PictureFolder);
    const auto ownChange = [this](bool on) { selecting_ = on; };
    MacroDeviceTransfer::Page device;
    device.folder = MacroFolder;
    device.showsSaved = [this](const QString& name) {
        return ui->listWidgetHong->currentRow() >= 0 && name == rows_->CurrentMacro() && !EventsModified;
    };
    device.ownChange = ownChange;
    deviceTransfer_ = std::make_unique<MacroDeviceTransfer>(ui, *rows_, device);
    MacroExportImport::Page exchange;
    exchange.widget = this;
    exchange.folder = MacroFolder;
    exchange.repeatCode = [this] { return RepeatCode(); };
    exchange.failed = [this](ExeIsRun::Failure failure) { ShowFailure(failure); };
    exchange.nameTaken = [this] { ShowSameMacro(QSize()); };
    exchange.showRepeat = [this](int code) {
        const QSignalBlocker repeat(RepeatModeGroup);
        const QSignalBlocker number(ui->NumberEdit);
        SetRepeatCode(code);
    };
    exchange.ownChange = ownChange;
    exchange_ = std::make_unique<MacroExportImport>(ui, *rows_, exchange);
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

    ButtonColorText = StyleSheet::ColourText(QStringLiteral("ButtonColor"));
    MacroPageStyle::Apply(ui, PictureFolder, ButtonColorText);
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
    language_ = std::make_unique<LanguageTexts>(QStringLiteral("Macro"),
                                                MacroPageTexts::Children(ui, &MacroRealText, &MenuTexts));
    language_->SetFinished([this] { RenameMouseRows(); });
    SlotChangeLanguage(LanguageTexts::StoredIndex());
}

Macro::~Macro()
{
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    if (MacroRecording && recording_->Hooked())
        MacroRecording = false;
    delete ui;
}

void Macro::SetSaveActive(bool active)
{
    ui->Save->setStyleSheet(active ? MacroPageStyle::ButtonRule(PictureFolder, ButtonColorText)
                                   : MacroPageStyle::InactiveButtonRule(PictureFolder));
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
    rows_->AppendKeyRow(name, press);
}

void Macro::AppendDelayRow(qint64 ms)
{
    rows_->AppendDelayRow(ms);
}

QVector<MacroFile::Line> Macro::ShownLines() const
{
    return rows_->ShownLines();
}

void Macro::InsertKeyRowWithDelay(const QString& name, bool press)
{
    QListWidget* list = ui->listWidgetKey;
    const int r = list->currentRow();
    const int c = list->count();
    QListWidgetItem* key = rows_->KeyRow(name, press);
    QListWidgetItem* delay = rows_->DelayRow(QStringLiteral("10ms"));
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
    const auto press = [&] { return rows_->CodedKeyRow(name, true, MacroKeyCodes::Mouse, bits[mouseButton]); };
    const auto release = [&] { return rows_->CodedKeyRow(name, false, MacroKeyCodes::Mouse, bits[mouseButton]); };
    const auto delay = [this] { return rows_->DelayRow(QStringLiteral("10ms")); };
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
        list->addItem(rows_->DelayRow(text));
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
    list->insertItem(at, rows_->DelayRow(text));
    list->setCurrentRow(at);
}

// ---------------------------------------------------------------------------
// The macro list and files

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
    const QString name = rows_->CurrentMacro();
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    ui->listWidgetKey->clear();
    MacroFile::Content content;
    if (!MacroFile::Read(MacroFile::PathOf(MacroFolder, name), &content))
        return;
    if (content.hasHeader)
        SetRepeatCode(MacroFile::RepeatCodeOf(content.header));
    for (const MacroFile::Line& line : qAsConst(content.lines))
        ui->listWidgetKey->addItem(rows_->RowOf(line));
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
    if (rows_->HasMacro(name) || QFile::exists(path)) {
        ShowSameMacro(prompt.size());
        return;
    }
    if (!MacroFile::CreateEmpty(path)) {
        ShowFailure(ExeIsRun::Failure::New);
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
    if (rows_->HasMacro(newName) || QFile::exists(newPath)) {
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

void Macro::SlotSetMacroPage()
{
    PostMsg::Instance()->PostStartRecord(1);
    EndRecordingLook();
    SetSaveActive(false);
    // The insert list is usable again whatever state the recording left.
    ui->ChooseEvent->setEnabled(true);
}

// ---------------------------------------------------------------------------
// Recording (MacroRecorder)

void Macro::on_StartRecord_clicked()
{
    recording_->Start();
}

void Macro::on_StopRecord_clicked()
{
    recording_->Stop();
}

void Macro::UpdateCapslockTip(int vk, bool down, bool repeat)
{
    Q_UNUSED(repeat)
    recording_->KeyEvent(vk, down);
}

void Macro::EndRecordingLook()
{
    recording_->EndLook();
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
    const QString name = rows_->CurrentMacro();
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
// The macro and the device (MacroDeviceTransfer), export and import
// (MacroExportImport)

void Macro::SlotButtonToMacro(FlashDataMap image, int button)
{
    deviceTransfer_->FromDevice(image, button);
}

void Macro::SlotMacroDownLoadData(QString name, int button)
{
    deviceTransfer_->ToDevice(name, button);
}

void Macro::ExPortMacro()
{
    exchange_->Export();
}

void Macro::InPortMacro()
{
    exchange_->Import();
}
