#include "pages/settings/FormSetting.h"

#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "dialogs/UpDateWarning.h"
#include "ui_FormSetting.h"

FormSetting::FormSetting(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::FormSetting)
    , warning_(std::make_unique<UpDateWarning>())
{
    ui->setupUi(this);
    language_ = std::make_unique<LanguageTexts>(QStringLiteral("FormSetting"),
                                                 QVector<LanguageTexts::Child>{
                                                     {QStringLiteral("WiredMode"), LanguageTexts::Keep(&WiredModeText)},
                                                     {QStringLiteral("NoDevice"), LanguageTexts::Keep(&noDeviceText_)},
                                                     {QStringLiteral("SameDevice"), LanguageTexts::Keep(&sameDeviceText_)},
                                                 });

    const Qt::ConnectionType blocking = Qt::BlockingQueuedConnection;
    PostMsg::Connect(SIGNAL(SigRGBValue(DongleRGB*)), this, SLOT(SlotRGBValue(DongleRGB*)), blocking);
    PostMsg::Connect(SIGNAL(SigLongRangeMode(bool)), this, SLOT(SlotLongRangeMode(bool)), blocking);
    PostMsg::Connect(SIGNAL(SigForm()), this, SLOT(SlotForm()), blocking);
    PostMsg::Connect(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetForm()), blocking);
    PostMsg::Connect(SIGNAL(SigFormB()), this, SLOT(SlotFormB()));
    PostMsg::Connect(SIGNAL(SigSetver(int)), this, SLOT(SetVer(int)));
    PostMsg::Connect(SIGNAL(SigLabelTextB(QString, QString)), this, SLOT(SlotLabelTextB(QString, QString)));
    PostMsg::Connect(SIGNAL(SigCheckUpdate()), this, SLOT(SlotCheckUpdate()));
    PostMsg::Connect(SIGNAL(SigLanguageSameB(int)), this, SLOT(SlotLanguageSameB(int)));
    LanguageTexts::Follow(this);
    SlotChangeLanguage(LanguageTexts::StoredIndex());
}

FormSetting::~FormSetting()
{
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    delete ui;
}

void FormSetting::SlotChangeLanguage(int index)
{
    language_->Load(index);
}

// The page's versions, receiver rows and language list come with its own
// controls; until then the page takes the signals and shows nothing.
void FormSetting::SetVer(int state)
{
    Q_UNUSED(state)
}

void FormSetting::SlotLabelTextB(QString version, QString flag)
{
    Q_UNUSED(version)
    Q_UNUSED(flag)
}

void FormSetting::SlotRGBValue(DongleRGB* record)
{
    Q_UNUSED(record)
}

void FormSetting::SlotLongRangeMode(bool on)
{
    Q_UNUSED(on)
}

void FormSetting::SlotForm()
{
}

void FormSetting::SlotFormB()
{
}

void FormSetting::SlotFormResetForm()
{
}

void FormSetting::SlotCheckUpdate()
{
}

void FormSetting::SlotLanguageSameB(int index)
{
    Q_UNUSED(index)
}
