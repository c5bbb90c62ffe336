#include "pages/sensor/ReportRateFrame.h"

#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>

const ReportRateFrame::Rate ReportRateFrame::Rates[RateCount] = {
    {"Button125HZ", 125, 8, 0},   {"Button250HZ", 250, 4, 0},   {"Button500HZ", 500, 2, 0},
    {"Button1000HZ", 1000, 1, 0}, {"Button2000HZ", 2000, 16, 1}, {"Button4000HZ", 4000, 32, 1},
    {"Button8000HZ", 8000, 64, 1},
};

namespace {
// The first rate above 1000 Hz and how many of those each level offers.
constexpr int FirstHighRate = 4;
constexpr int HighRatesOfLevel[] = {0, 2, 1, 3};
} // namespace

ReportRateFrame::ReportRateFrame(QWidget* parent)
    : QFrame(parent)
{
}

void ReportRateFrame::Attach(QLabel* title)
{
    // The frame itself draws no panel: only its controls show on the page.
    setStyleSheet(QLatin1String(metaObject()->className()) + QStringLiteral("{border:0px;}"));
    title_ = title;
    PictureFolder = StyleSheet::PictureFolder(QStringLiteral("Sensor"));
    title_->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
    rateGroup_ = new QButtonGroup(this);
    rateGroup_->setExclusive(true);
    for (const Rate& rate : Rates) {
        auto* button = findChild<QAbstractButton*>(QLatin1String(rate.objectName));
        Q_ASSERT(button);
        rateGroup_->addButton(button);
    }
}

QAbstractButton* ReportRateFrame::RateButton(int index) const
{
    return rateGroup_->buttons().at(index);
}

void ReportRateFrame::SetRate(int index)
{
    if (index >= 0 && index < RateCount)
        RateButton(index)->setChecked(true);
}

void ReportRateFrame::SetMaxRate(int level)
{
    if (level < 0 || level > 3)
        return;
    for (int index = FirstHighRate; index < RateCount; ++index)
        RateButton(index)->setVisible(index - FirstHighRate < HighRatesOfLevel[level]);
}

void ReportRateFrame::SetText(const QString& text)
{
    title_->setText(text);
}

void ReportRateFrame::RateClicked(int index, bool checked)
{
    // A click on the checked rate writes it again; the button stays checked
    // when the mouse does not take it (the setter gives the offline notice).
    if (!checked || !UiReady)
        return;
    if (SetReportRate(Rates[index].code))
        PostMsg::Instance()->PostHideModel(Rates[index].hideModel);
}

void ReportRateFrame::on_Button125HZ_clicked(bool checked) { RateClicked(0, checked); }
void ReportRateFrame::on_Button250HZ_clicked(bool checked) { RateClicked(1, checked); }
void ReportRateFrame::on_Button500HZ_clicked(bool checked) { RateClicked(2, checked); }
void ReportRateFrame::on_Button1000HZ_clicked(bool checked) { RateClicked(3, checked); }
void ReportRateFrame::on_Button2000HZ_clicked(bool checked) { RateClicked(4, checked); }
void ReportRateFrame::on_Button4000HZ_clicked(bool checked) { RateClicked(5, checked); }
void ReportRateFrame::on_Button8000HZ_clicked(bool checked) { RateClicked(6, checked); }
