#include "dialogs/QuestionDialog.h"

#include "core/StyleSheet.h"
#include "ui_QuestionDialog.h"

QuestionDialog::QuestionDialog(QWidget* parent)
    : MessageDialog(parent)
    , ui(new Ui::QuestionDialog)
{
    ui->setupUi(this);
    setFixedSize(width(), height());
    connect(ui->NewHong_2, &QToolButton::clicked, this, &QuestionDialog::WindowClosedLan);
    ui->lineEdit->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLineEdit"), QStringLiteral("LinEditColor")));

    Frame frame = LabelFrame(ui, ui->Question, QStringLiteral("Question"));
    frame.buttons = {ui->NewHong, ui->NewHong_2};
    // The prompts reach the label only through ShowSecondText().
    frame.texts = {
        {QStringLiteral("label"), LanguageTexts::Keep(&firstPrompt_)},
        {QStringLiteral("label_2"), LanguageTexts::Keep(&secondPrompt_)},
        {QStringLiteral("NewHong"), LanguageTexts::TextOf(ui->NewHong)},
        {QStringLiteral("NewHong_2"), LanguageTexts::TextOf(ui->NewHong_2)},
    };
    // Return takes the typed name, as in any desktop program.
    frame.returnButton = ui->NewHong;
    SetUpFrame(frame);
    // After the frame: setting the window flags drops the focus.
    ui->lineEdit->setFocus(Qt::ActiveWindowFocusReason);
}

QuestionDialog::~QuestionDialog()
{
    delete ui;
}

void QuestionDialog::ShowSecondText(bool second)
{
    ui->label->setText(second ? secondPrompt_ : firstPrompt_);
}

QString QuestionDialog::LimitName(const QString& text)
{
    QString name = text;
    if (name.endsWith(QLatin1Char(' ')))
        name.remove(QLatin1Char(' '));
    if (name.toLocal8Bit().size() <= MaxNameBytes)
        return name;
    // The longest prefix that fits, over every length; a cut never splits a
    // character made of two UTF-16 code units.
    int cut = 0;
    for (int n = 1; n <= name.size(); ++n) {
        if (n < name.size() && name.at(n - 1).isHighSurrogate())
            continue;
        if (name.left(n).toLocal8Bit().size() > MaxNameBytes)
            break;
        cut = n;
    }
    return name.left(cut);
}

void QuestionDialog::on_lineEdit_textEdited(const QString& text)
{
    ui->lineEdit->setText(LimitName(text));
}

void QuestionDialog::on_NewHong_clicked()
{
    ResultText = ui->lineEdit->text();
    close();
}

void QuestionDialog::WindowClosedLan()
{
    ResultText.clear();
    close();
}

void QuestionDialog::Dismiss()
{
    WindowClosedLan();
}
