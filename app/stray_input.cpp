#include "app/stray_input.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>

#include "app/form.h"

namespace app {

bool StrayInputFilter::Swallows(QObject* receiver, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseButtonRelease &&
        type != QEvent::KeyPress) {
        return false;
    }
    // Qt offers each input event first to the window handle, then to the
    // widget; the widget's turn is the one that counts.
    if (!receiver->isWidgetType()) return false;
    const auto* form = qobject_cast<const Form*>(static_cast<QWidget*>(receiver)->window());
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:  // the second press of a double-click
            return SwallowsPress(form, static_cast<const QMouseEvent&>(*event));
        case QEvent::MouseButtonRelease:
            return form != nullptr && (lastPress_.swallowed || AimedBefore(lastPress_.mark, form));
        default: return SwallowsKey(form, static_cast<const QKeyEvent&>(*event));
    }
}

bool StrayInputFilter::SwallowsPress(const Form* form, const QMouseEvent& event) {
    const std::uint64_t timestamp = event.timestamp();
    const auto interval = static_cast<std::uint64_t>(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    // A press that follows a stray one within the interval is part of the
    // same burst of clicks.
    const bool soonAfterLast =
        lastPress_.seen && timestamp >= lastPress_.timestamp && timestamp - lastPress_.timestamp < interval;
    const bool swallow =
        form != nullptr && soonAfterLast && (lastPress_.swallowed || AimedBefore(lastPress_.mark, form));
    lastPress_ = Press{true, timestamp, showMark_, swallow};
    return swallow;
}

bool StrayInputFilter::SwallowsKey(const Form* form, const QKeyEvent& event) {
    if (!event.isAutoRepeat()) {
        lastKey_ = event.key();
        lastKeyMark_ = showMark_;
        return false;
    }
    // A repeat of a key whose first press went elsewhere: Enter held down
    // would otherwise answer question after question.
    return form != nullptr && (event.key() != lastKey_ || AimedBefore(lastKeyMark_, form));
}

bool StrayInputFilter::AimedBefore(std::uint64_t mark, const Form* form) const { return mark < form->ShowMark(); }

}  // namespace app
