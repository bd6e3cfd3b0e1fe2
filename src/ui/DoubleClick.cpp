#include "ui/DoubleClick.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace {

class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QWidget* widget, std::function<void()> action) : QObject(widget), action_(std::move(action))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonDblClick)
            return QObject::eventFilter(watched, event);
        action_();
        return true;
    }

private:
    std::function<void()> action_;
};

}  // namespace

void onDoubleClick(QWidget* widget, std::function<void()> action) { new DoubleClickFilter(widget, std::move(action)); }
