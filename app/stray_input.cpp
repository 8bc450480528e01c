#include "app/stray_input.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>

#include "app/form.h"

namespace app {
namespace {

using Milliseconds = StrayInputFilter::Milliseconds;

// A key still down after this long without a repeat was let go where this
// program did not see it (in another program's window). Longer than any
// keyboard's delay before its first repeat.
constexpr Milliseconds kHeldKeyPatience{1500};
// A release and a press of the same key closer than this are a repeat of
// the window system's, not two strokes: no finger is that fast.
constexpr Milliseconds kRepeatPairGap{40};

// The keys that press a button, as a click would.
bool Activates(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space; }

// A click acts on a push button at once; a click that chooses an option or
// places the cursor in a field can be made again and is never kept back.
bool ActsOnClick(const QWidget* target) {
    const auto* button = qobject_cast<const QAbstractButton*>(target);
    return button != nullptr && !button->isCheckable();
}

Milliseconds SteadyNow() {
    return std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace

StrayInputFilter::StrayInputFilter() : clock_(SteadyNow) {}

void StrayInputFilter::SetClock(Clock clock) { clock_ = clock ? std::move(clock) : Clock(SteadyNow); }

void StrayInputFilter::Forget() {
    lastPress_ = Press{};
    lastActivation_ = Press{};
    keys_.clear();
}

bool StrayInputFilter::Swallows(QObject* receiver, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseButtonRelease &&
        type != QEvent::KeyPress && type != QEvent::KeyRelease) {
        return false;
    }
    // Qt offers each input event first to the window handle, then to the
    // widget; the widget's turn is the one that counts.
    if (!receiver->isWidgetType()) return false;
    const auto* target = static_cast<QWidget*>(receiver);
    const auto* form = qobject_cast<const Form*>(target->window());
    now_ = clock_();
    // Input queued for a form that has gone (a second Enter that the
    // accessibility bridge passes on late) would act on a stale window.
    if (form != nullptr && !form->isVisible()) return true;
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:  // the second press of a double-click
            return SwallowsPress(form, target);
        case QEvent::MouseButtonRelease:
            return form != nullptr && (lastPress_.swallowed || AimedBefore(lastPress_.mark, form));
        case QEvent::KeyPress: return SwallowsKeyPress(form, static_cast<const QKeyEvent&>(*event));
        default: return SwallowsKeyRelease(form, static_cast<const QKeyEvent&>(*event));
    }
}

bool StrayInputFilter::SwallowsPress(const Form* form, const QWidget* target) {
    const bool swallow = ContinuesStrayBurst(lastPress_, form) && ActsOnClick(target);
    lastPress_ = Press{true, now_, showMark_, swallow};
    return swallow;
}

bool StrayInputFilter::Repeats(const Key& key, const QKeyEvent& event) const {
    if (event.isAutoRepeat()) return true;
    const Milliseconds since = now_ - key.lastEventAt;
    return key.down ? since < kHeldKeyPatience : key.mark != 0 && since < kRepeatPairGap;
}

bool StrayInputFilter::SwallowsKeyPress(const Form* form, const QKeyEvent& event) {
    if (!Activates(event.key())) return false;
    Key& key = keys_[event.key()];
    if (Repeats(key, event)) {
        // Held down since a press that went elsewhere or was kept back (or
        // that this program never saw): however long it is held, it never
        // acts here until it is let go.
        const bool swallow = form != nullptr && (key.mark == 0 || key.swallowed || AimedBefore(key.mark, form));
        key.down = true;
        key.lastEventAt = now_;
        // A stroke right after the key is let go belongs to the same burst.
        if (swallow) lastActivation_ = Press{true, now_, showMark_, true};
        return swallow;
    }
    // Enter struck twice as fast as a double-click: the second press was
    // made before the window the first one opened could be read.
    const bool swallow = ContinuesStrayBurst(lastActivation_, form);
    lastActivation_ = Press{true, now_, showMark_, swallow};
    key = Key{true, now_, showMark_, swallow};
    return swallow;
}

bool StrayInputFilter::SwallowsKeyRelease(const Form* form, const QKeyEvent& event) {
    if (!Activates(event.key())) return false;
    Key& key = keys_[event.key()];
    const bool swallow = form != nullptr && key.mark != 0 && (key.swallowed || AimedBefore(key.mark, form));
    key.down = false;
    key.lastEventAt = now_;
    return swallow;
}

bool StrayInputFilter::ContinuesStrayBurst(const Press& earlier, const Form* form) const {
    const Milliseconds interval{QGuiApplication::styleHints()->mouseDoubleClickInterval()};
    // A press that follows a stray one within the interval is part of the
    // same burst.
    const bool soonAfter = earlier.seen && now_ >= earlier.at && now_ - earlier.at < interval;
    return form != nullptr && soonAfter && (earlier.swallowed || AimedBefore(earlier.mark, form));
}

bool StrayInputFilter::AimedBefore(std::uint64_t mark, const Form* form) const { return mark < form->ShowMark(); }

}  // namespace app
