#include "app/stray_input.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>

#include "app/form.h"

namespace app {
namespace {

// The keys that press a button, as a click would.
bool Activates(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space; }

}  // namespace

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
    const bool swallow = ContinuesStrayBurst(lastPress_, timestamp, form);
    lastPress_ = Press{true, timestamp, showMark_, swallow};
    return swallow;
}

bool StrayInputFilter::SwallowsKey(const Form* form, const QKeyEvent& event) {
    if (event.isAutoRepeat()) {
        // A repeat of a key whose first press went elsewhere, or was kept
        // back: Enter held down would otherwise answer question after
        // question.
        return form != nullptr && (event.key() != lastKey_ || lastKeySwallowed_ || AimedBefore(lastKeyMark_, form));
    }
    lastKey_ = event.key();
    lastKeyMark_ = showMark_;
    lastKeySwallowed_ = Activates(event.key()) && SwallowsActivation(form, event);
    return lastKeySwallowed_;
}

bool StrayInputFilter::SwallowsActivation(const Form* form, const QKeyEvent& event) {
    const std::uint64_t timestamp = event.timestamp();
    // An event made by a program rather than struck on a keyboard carries
    // no time, and so cannot be told part of a burst.
    if (timestamp == 0) {
        lastActivation_ = Press{};
        return false;
    }
    // Enter struck twice as fast as a double-click: the second press was
    // made before the window the first one opened could be read.
    const bool swallow = ContinuesStrayBurst(lastActivation_, timestamp, form);
    lastActivation_ = Press{true, timestamp, showMark_, swallow};
    return swallow;
}

bool StrayInputFilter::ContinuesStrayBurst(const Press& earlier, std::uint64_t timestamp, const Form* form) const {
    const auto interval = static_cast<std::uint64_t>(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    // A press that follows a stray one within the interval is part of the
    // same burst.
    const bool soonAfter = earlier.seen && timestamp >= earlier.timestamp && timestamp - earlier.timestamp < interval;
    return form != nullptr && soonAfter && (earlier.swallowed || AimedBefore(earlier.mark, form));
}

bool StrayInputFilter::AimedBefore(std::uint64_t mark, const Form* form) const { return mark < form->ShowMark(); }

}  // namespace app
