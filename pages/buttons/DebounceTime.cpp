#include "pages/buttons/DebounceTime.h"

#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/LessThree.h"
#include "ui_DebounceTime.h"

#include <QListView>
#include <QSignalBlocker>

namespace {
// Where the notice goes, from the frame's centre.
constexpr int NoticeDx = -409;
constexpr int NoticeDy = -202;
constexpr int VisibleEntries = 5;
} // namespace

DebounceTime::DebounceTime(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::DebounceTime)
    , pictureDir_(StyleSheet::PictureFolder(QStringLiteral("Buttoninterface")))
{
    ui->setupUi(this);
    // The frame itself is drawn by the panel it sits on.
    setStyleSheet(QStringLiteral("DebounceTime{border:none;background:transparent;}"));
    ui->Debunce->setStyleSheet(StyleSheet::ComboBoxRule(pictureDir_));
    auto* view = new QListView;
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->Debunce->setMaxVisibleItems(VisibleEntries);
    ui->Debunce->setView(view);
}

DebounceTime::~DebounceTime()
{
    delete ui;
}

void DebounceTime::SetDebounce(int index)
{
    if (index < 0 || index > MaxValue) {
        const QSignalBlocker quiet(ui->Debunce);
        ui->Debunce->setCurrentIndex(-1);
        return;
    }
    ui->Debunce->setCurrentIndex(index);
}

void DebounceTime::SetItemSuffix(int index, const QString& text)
{
    if (index >= 0 && index < ui->Debunce->count())
        ui->Debunce->setItemText(index, QString::number(index) + text);
}

int DebounceTime::Value() const
{
    return ui->Debunce->currentIndex();
}

void DebounceTime::on_Debunce_currentIndexChanged(int index)
{
    if (!UiReady || ButtonPageLoading || index < 0 || index > MaxValue)
        return;
    SetDebounceTime(index);
    if (index > NoticeLimit)
        return;
    LessThree notice;
    DialogPlacement::CentreOver(&notice, this, NoticeDx, NoticeDy);
    notice.exec();
}
