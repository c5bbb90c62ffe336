#include "pages/lighting/LampLight.h"

#include "core/DeviceAllInfo.h"
#include "core/LanguageTexts.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/ScopedFlag.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "widgets/StopCloseTime.h"
#include "platform/ScreenPixels.h"
#include "ui_LampLight.h"

#include <QButtonGroup>
#include <QImage>
#include <QListView>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace {
struct Rgb {
    int red;
    int green;
    int blue;
};

// The preset buttons A to N and their colours.
const Rgb Presets[] = {{255, 0, 0},   {0, 255, 255},  {0, 255, 0},    {255, 0, 255}, {255, 255, 0},
                       {255, 80, 0},  {0, 0, 255},    {227, 0, 127},  {46, 166, 223}, {96, 25, 133},
                       {255, 255, 255}, {139, 178, 36}, {255, 155, 51}, {208, 113, 173}};
constexpr int PresetCount = int(sizeof(Presets) / sizeof(Presets[0]));

constexpr int ModeCount = 6;
// Which controls each mode shows (modes 0 to 5).
struct ModeView {
    bool lines;
    bool line2;
    bool colour;
    bool brightness;
    bool speed;
};
const ModeView ModeViews[ModeCount] = {
    {true, true, false, false, false},   // off
    {false, false, false, true, true},   // colour flow
    {false, false, true, true, true},    // breathing in one colour
    {false, true, true, true, false},    // steady
    {false, false, false, true, true},   // neon
    {false, false, false, true, true},   // mixed breathing
};

const QString PictureTree = QStringLiteral(":/Light/Source/LightImage/");

QString PreviewRule(int red, int green, int blue)
{
    return QStringLiteral("QLabel{background-color: rgb(%1,%2,%3);border: 2px solid  rgb(220,220,220);}")
        .arg(red)
        .arg(green)
        .arg(blue);
}
} // namespace

LampLight::LampLight(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::LampLight)
{
    // The page's pictures live in this library: register them with the
    // resource system before anything names them.
    Q_INIT_RESOURCE(LightImage);
    ui->setupUi(this);
    ApplyPictures();

    QVector<LanguageTexts::Child> children;
    for (QLabel* label : {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_8,
                          ui->label_10, ui->label_11, ui->label_12, ui->label_13})
        children.append({label->objectName(), LanguageTexts::TextOf(label)});
    for (int mode = 0; mode < ModeCount; ++mode) {
        const QString name = mode == 0 ? QStringLiteral("LightMod") : QStringLiteral("LightMod%1").arg(mode);
        children.append({name, [this, mode](const QString& text) { ui->LightMod->setItemText(mode, text); }});
    }
    for (int entry = 0; entry < 11; ++entry) {
        const QString name = entry == 0 ? QStringLiteral("StopCloseTime") : QStringLiteral("StopCloseTime%1").arg(entry);
        children.append({name, [this, entry](const QString& text) { ui->frameClose->SetItemText(entry, text); }});
    }
    language_ = std::make_unique<LanguageTexts>(QStringLiteral("Light"), children);
}

LampLight::~LampLight()
{
    delete ui;
}

// The pictures the form leaves open: the presets show their colours, the
// switch its on and off looks, label_7 the board the picker reads, the step
// buttons the sensor page's plus and minus; the mode list is drawn like the
// light-off list.
void LampLight::ApplyPictures()
{
    const QString letters = QStringLiteral("ABCDEFGHIJKLMN");
    const QString accent = StyleSheet::ColourText(QStringLiteral("ComboxSelectColor"));
    for (QChar letter : letters) {
        auto* button = findChild<QToolButton*>(QStringLiteral("toolButtonColor") + letter);
        button->setStyleSheet(QStringLiteral("QToolButton{border: 2px solid transparent; border-radius: 4px; "
                                             "background: transparent; image: url(")
                              + PictureTree + QStringLiteral("Color") + letter
                              + QStringLiteral(".png);}QToolButton:checked{border-color: rgb(") + accent
                              + QStringLiteral(");}"));
    }
    ui->RippeControl->setStyleSheet(QStringLiteral("QToolButton{border: 0px; image: url(") + PictureTree
                                    + QStringLiteral("NoScroll.png);}QToolButton:checked{image: url(")
                                    + PictureTree + QStringLiteral("OKScroll.png);}"));
    ui->label_7->setStyleSheet(QStringLiteral("QLabel{border-image: url(") + PictureTree
                               + QStringLiteral("ColorBoard.png);}"));
    ui->labelPreView->setStyleSheet(PreviewRule(ui->RSpinBox->value(), ui->GSpinBox->value(), ui->BSpinBox->value()));
    const QString sensor = StyleSheet::PictureFolder(QStringLiteral("Sensor"));
    for (QToolButton* button : {ui->AddR, ui->AddG, ui->AddB})
        button->setStyleSheet(StyleSheet::PictureRule(QStringLiteral("QToolButton"), sensor, QStringLiteral("Add.png")));
    for (QToolButton* button : {ui->ReduceR, ui->ReduceG, ui->ReduceB})
        button->setStyleSheet(
            StyleSheet::PictureRule(QStringLiteral("QToolButton"), sensor, QStringLiteral("Reduce.png")));
    ui->LightMod->setStyleSheet(StyleSheet::ComboBoxRule(StyleSheet::PictureFolder(QStringLiteral("Light"))));
    auto* view = new QListView;
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->LightMod->setView(view);
}

QString LampLight::ByteToQString(uchar value) const
{
    return QString(QChar(value));
}

void LampLight::SetupButtonGroup()
{
    if (!presetGroup_)
        return;
    const QString letters = QStringLiteral("ABCDEFGHIJKLMN");
    for (QChar letter : letters)
        presetGroup_->addButton(findChild<QToolButton*>(QStringLiteral("toolButtonColor") + letter));
}

bool LampLight::MayWrite()
{
    return UiReady && !LightPageLoading;
}

bool LampLight::OnlineOrNotify() const
{
    if (!UiReady || DeviceAllInfo::Answers(CurrentDevicePath.get()))
        return true;
    if (LightPageLoading)
        return true;
    PostMsg::Instance()->PostMouseOffLineo(PostMsg::MouseOffLine);
    return false;
}

void LampLight::on_LightMod_currentIndexChanged(int mode)
{
    if (MayWrite())
        SetLightMode(mode);
    ShowMode(mode);
}

void LampLight::ShowMode(int mode)
{
    if (mode < 0 || mode >= ModeCount)
        return;
    const ModeView& view = ModeViews[mode];
    ui->line->setVisible(view.lines);
    ui->line_2->setVisible(view.line2);
    const QList<QWidget*> colour = {ui->label_6,  ui->label_7,  ui->label_8,   ui->labelPreView, ui->label_11,
                                    ui->label_10, ui->label_12, ui->RSpinBox,  ui->GSpinBox,     ui->BSpinBox,
                                    ui->AddR,     ui->AddG,     ui->AddB,      ui->ReduceR,      ui->ReduceG,
                                    ui->ReduceB,  ui->label_13};
    for (QWidget* widget : colour)
        widget->setVisible(view.colour);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMN");
    for (QChar letter : letters)
        findChild<QToolButton*>(QStringLiteral("toolButtonColor") + letter)->setVisible(view.colour);
    ui->horizontalLight->setVisible(view.brightness);
    ui->LightSpinBox_2->setVisible(view.brightness);
    ui->horizontalSpeed->setVisible(view.speed);
    ui->SpeedSpinBox_2->setVisible(view.speed);
}

void LampLight::on_LightMod_activated(int)
{
}

void LampLight::on_LightMod_editTextChanged(const QString&)
{
}

void LampLight::ShowPreview()
{
    ui->labelPreView->setStyleSheet(PreviewRule(ui->RSpinBox->value(), ui->GSpinBox->value(), ui->BSpinBox->value()));
}

void LampLight::WriteColour()
{
    ShowPreview();
    if (UiReady)
        SetLightColor(ui->RSpinBox->value(), ui->GSpinBox->value(), ui->BSpinBox->value());
}

void LampLight::on_RSpinBox_valueChanged(int)
{
    WriteColour();
}

void LampLight::on_GSpinBox_valueChanged(int)
{
    WriteColour();
}

void LampLight::on_BSpinBox_valueChanged(int)
{
    WriteColour();
}

// The box's range holds the value at its ends; an unchanged value writes
// nothing.
void LampLight::Step(QSpinBox* box, int step)
{
    if (OnlineOrNotify())
        box->setValue(box->value() + step);
}

void LampLight::on_AddR_clicked()
{
    Step(ui->RSpinBox, 1);
}

void LampLight::on_AddG_clicked()
{
    Step(ui->GSpinBox, 1);
}

void LampLight::on_AddB_clicked()
{
    Step(ui->BSpinBox, 1);
}

void LampLight::on_ReduceR_clicked()
{
    Step(ui->RSpinBox, -1);
}

void LampLight::on_ReduceG_clicked()
{
    Step(ui->GSpinBox, -1);
}

void LampLight::on_ReduceB_clicked()
{
    Step(ui->BSpinBox, -1);
}

// Each box whose value changes writes the colour on its own.
void LampLight::Preset(int preset)
{
    if (preset < 0 || preset >= PresetCount || !OnlineOrNotify())
        return;
    ui->RSpinBox->setValue(Presets[preset].red);
    ui->GSpinBox->setValue(Presets[preset].green);
    ui->BSpinBox->setValue(Presets[preset].blue);
}

void LampLight::on_toolButtonColorA_clicked()
{
    Preset(0);
}

void LampLight::on_toolButtonColorB_clicked()
{
    Preset(1);
}

void LampLight::on_toolButtonColorC_clicked()
{
    Preset(2);
}

void LampLight::on_toolButtonColorD_clicked()
{
    Preset(3);
}

void LampLight::on_toolButtonColorE_clicked()
{
    Preset(4);
}

void LampLight::on_toolButtonColorF_clicked()
{
    Preset(5);
}

void LampLight::on_toolButtonColorG_clicked()
{
    Preset(6);
}

void LampLight::on_toolButtonColorH_clicked()
{
    Preset(7);
}

void LampLight::on_toolButtonColorI_clicked()
{
    Preset(8);
}

void LampLight::on_toolButtonColorJ_clicked()
{
    Preset(9);
}

void LampLight::on_toolButtonColorK_clicked()
{
    Preset(10);
}

void LampLight::on_toolButtonColorL_clicked()
{
    Preset(11);
}

void LampLight::on_toolButtonColorM_clicked()
{
    Preset(12);
}

void LampLight::on_toolButtonColorN_clicked()
{
    Preset(13);
}

void LampLight::on_horizontalLight_sliderMoved(int value)
{
    ui->LightSpinBox_2->setValue(value);
}

void LampLight::on_horizontalSpeed_sliderMoved(int value)
{
    ui->SpeedSpinBox_2->setValue(value);
}

void LampLight::on_horizontalLight_valueChanged(int value)
{
    ui->LightSpinBox_2->setValue(value);
    if (MayWrite())
        SetLightBrightness(value - 1);
}

void LampLight::on_horizontalSpeed_valueChanged(int value)
{
    ui->SpeedSpinBox_2->setValue(value);
    if (MayWrite())
        SetLightSpeed(value - 1);
}

void LampLight::on_LightSpinBox_2_valueChanged(int)
{
}

void LampLight::on_SpeedSpinBox_2_valueChanged(int)
{
}

void LampLight::on_RippeControl_clicked(bool checked)
{
    if (MayWrite())
        SetMoveLightOff(checked ? 1 : 0);
}

void LampLight::on_StopCloseTime_activated(int index)
{
    if (!UiReady)
        return;
    const int code = StopCloseTime::CodeOf(index);
    if (code != 0 && !LightPageLoading)
        SetLightOffTime(code);
}

void LampLight::SlotUpDataLightUIA(FlashDataMap image)
{
    Refresh(image, false);
}

void LampLight::SlotUpDataLightUILight(FlashDataMap image)
{
    Refresh(image, true);
}

void LampLight::Refresh(const FlashDataMap& image, bool slidersEnabled)
{
    ui->horizontalLight->setEnabled(slidersEnabled);
    ui->horizontalSpeed->setEnabled(slidersEnabled);
    const ScopedFlag loading(LightPageLoading);
    // A byte above 9 shows the top of the range (the boxes hold it).
    const int brightness = image.lightBrightness + 1;
    const int speed = image.lightSpeed + 1;
    {
        const QSignalBlocker blockLight(ui->horizontalLight);
        const QSignalBlocker blockSpeed(ui->horizontalSpeed);
        const QSignalBlocker blockRed(ui->RSpinBox);
        const QSignalBlocker blockGreen(ui->GSpinBox);
        const QSignalBlocker blockBlue(ui->BSpinBox);
        ui->horizontalLight->setValue(brightness);
        ui->horizontalSpeed->setValue(speed);
        ui->LightSpinBox_2->setValue(brightness);
        ui->SpeedSpinBox_2->setValue(speed);
        ui->RSpinBox->setValue(image.lightColor[0]);
        ui->GSpinBox->setValue(image.lightColor[1]);
        ui->BSpinBox->setValue(image.lightColor[2]);
        ui->labelPreView->setStyleSheet(PreviewRule(image.lightColor[0], image.lightColor[1], image.lightColor[2]));
    }
    // A mode outside the list leaves no entry selected (and the controls
    // as they were).
    ui->LightMod->setCurrentIndex(image.lightOn != 0 ? image.lightMode : 0);
    ui->RippeControl->setChecked(image.moveLightOff != 0);
    const int entry = StopCloseTime::IndexOfSeconds(image.lightOffTime * 10);
    if (entry >= 0)
        ui->frameClose->SetIndex(entry);
}

void LampLight::SlotFormResetLight()
{
    const ScopedFlag loading(LightPageLoading);
    ui->LightMod->setCurrentIndex(1);
    ui->horizontalLight->setValue(10);
    ui->horizontalSpeed->setValue(8);
    ui->LightSpinBox_2->setValue(10);
    ui->SpeedSpinBox_2->setValue(8);
    ui->RippeControl->setChecked(false);
    ui->frameClose->SetIndex(2);
}

void LampLight::SlotChangeLanguage(int index)
{
    language_->Load(index);
}

void LampLight::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
}

void LampLight::mousePressEvent(QMouseEvent* event)
{
    // A double click that reaches here is not a press.
    if (event->type() != QEvent::MouseButtonPress)
        return;
    // The children lie in LightPage, which fills the page from its corner:
    // their rectangles and the press share coordinates.
    const QPoint at = event->pos();
    const QList<QSpinBox*> colourBoxes = {ui->RSpinBox, ui->GSpinBox, ui->BSpinBox};
    bool inColourBox = false;
    for (QSpinBox* box : colourBoxes)
        inColourBox = inColourBox || box->geometry().contains(at);
    if (!inColourBox) {
        for (QSpinBox* box : colourBoxes)
            box->clearFocus();
    }
    bool inValueBox = false;
    for (QSpinBox* box : {ui->LightSpinBox_2, ui->SpeedSpinBox_2}) {
        if (box->geometry().contains(at))
            inValueBox = true;
        else
            box->clearFocus();
    }
    // The page takes the focus from the boxes it left; a press inside a
    // colour box keeps that box's editing.
    if (!inColourBox && !inValueBox)
        setFocus(Qt::OtherFocusReason);
    if (!ui->label_7->geometry().contains(at) || !OnlineOrNotify())
        return;
    PickScreenColour();
}

void LampLight::PickScreenColour()
{
    const ScreenPixels& screen = ScreenPixels::Current();
    const qreal scale = screen.Scale();
    const QPoint cursor = screen.CursorPosition();
    // Both coordinates truncated toward zero.
    const QPoint at(int(cursor.x() * scale), int(cursor.y() * scale));
    const QPixmap grab = screen.Grab(at, QSize(2, 2));
    // Nothing read: the colour and the preview stay as they are.
    if (grab.isNull())
        return;
    const QImage image = grab.toImage();
    if (!image.valid(0, 0))
        return;
    const QColor colour = image.pixelColor(0, 0);
    ui->RSpinBox->setValue(colour.red());
    ui->GSpinBox->setValue(colour.green());
    ui->BSpinBox->setValue(colour.blue());
    ShowPreview();
}
