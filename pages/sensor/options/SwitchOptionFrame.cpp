#include "pages/sensor/options/SwitchOptionFrame.h"

#include "core/SharedState.h"
#include "core/StyleSheet.h"

#include <QLabel>
#include <QToolButton>

SwitchOptionFrame::SwitchOptionFrame(QWidget* parent, Setter setter)
    : QFrame(parent)
    , setter_(setter)
{
}

void SwitchOptionFrame::Attach(QToolButton* toggle, QLabel* label)
{
    // The frame itself draws no panel: only its controls show on the page.
    setStyleSheet(QLatin1String(metaObject()->className()) + QStringLiteral("{border:0px;}"));
    toggle_ = toggle;
    label_ = label;
    PictureFolder = StyleSheet::PictureFolder(QStringLiteral("Sensor"));
    label_->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
    const QString selector = QLatin1Char('#') + toggle_->objectName();
    toggle_->setStyleSheet(selector
                           + QStringLiteral("{color: rgb(255, 255, 255);border:0px;background-position:center;"
                                            "background-repeat:no-repeat;background-image: url(")
                           + PictureFolder + QStringLiteral("Close.png);}") + selector
                           + QStringLiteral(":checked {background-image: url(") + PictureFolder
                           + QStringLiteral("Open.png);}"));
}

void SwitchOptionFrame::SetChecked(bool on)
{
    toggle_->setChecked(on);
}

void SwitchOptionFrame::SetText(const QString& text)
{
    label_->setText(text);
}

void SwitchOptionFrame::SetToolTip(const QString& text)
{
    label_->setToolTip(text);
}

void SwitchOptionFrame::ToggleClicked(bool on)
{
    if (!UiReady)
        return;
    setter_(on ? 1 : 0);
}
