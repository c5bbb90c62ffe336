#include "widgets/StyleWhenShown.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace {
// Sets the style sheet at the widget's next show, then goes.
class PendingStyle : public QObject {
    Q_OBJECT
public:
    PendingStyle(QWidget* widget, const QString& styleSheet)
        : QObject(widget)
        , styleSheet_(styleSheet)
    {
        widget->installEventFilter(this);
    }

    void Replace(const QString& styleSheet) { styleSheet_ = styleSheet; }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* widget = static_cast<QWidget*>(watched);
            widget->removeEventFilter(this);
            widget->setStyleSheet(styleSheet_);
            deleteLater();
        }
        return false;
    }

private:
    QString styleSheet_;
};
} // namespace

void SetStyleSheetWhenShown(QWidget* widget, const QString& styleSheet)
{
    auto* pending = widget->findChild<PendingStyle*>(QString(), Qt::FindDirectChildrenOnly);
    if (widget->isVisibleTo(widget->window())) {
        delete pending;
        widget->setStyleSheet(styleSheet);
        return;
    }
    if (pending)
        pending->Replace(styleSheet);
    else
        new PendingStyle(widget, styleSheet);
}

#include "StyleWhenShown.moc"
