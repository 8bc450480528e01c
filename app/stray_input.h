#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>

class QEvent;
class QKeyEvent;
class QObject;
class QWidget;

namespace app {

class Form;

// Keeps from a form that has just been shown the input that was aimed at
// the form before it: the second click of a double-click whose first click
// opened it, a button released after its press went elsewhere, a key held
// down since before it appeared, and a second Enter or Space struck as fast
// as a double-click. A deliberate press after the system's double-click
// interval goes through as always.
//
// Time is the program's own monotonic clock at the moment an event arrives:
// the events' own timestamps are 0 when they pass through the accessibility
// bridge, and the window system does not mark every repeat of a held key as
// a repeat, so neither is trusted. A key counts as held from its press until
// its release; a release followed at once by a press of the same key is the
// window system's way of repeating it.
class StrayInputFilter {
public:
    using Milliseconds = std::chrono::milliseconds;
    using Clock = std::function<Milliseconds()>;

    StrayInputFilter();

    // A new mark for a form being shown: input recorded under an earlier
    // mark was aimed elsewhere.
    std::uint64_t NextShowMark() { return ++showMark_; }

    // True when `event` must not reach `receiver`.
    bool Swallows(QObject* receiver, QEvent* event);

    // Tests drive the clock themselves.
    void SetClock(Clock clock);
    // Forgets every press and held key, as at start-up.
    void Forget();

private:
    struct Press {
        bool seen = false;
        Milliseconds at{0};
        std::uint64_t mark = 0;
        bool swallowed = false;
    };
    struct Key {
        bool down = false;
        Milliseconds lastEventAt{0};
        std::uint64_t mark = 0;  // of its press
        bool swallowed = false;  // its press was kept back
    };

    bool SwallowsPress(const Form* form, const QWidget* target);
    bool SwallowsKeyPress(const Form* form, const QKeyEvent& event);
    bool SwallowsKeyRelease(const Form* form, const QKeyEvent& event);
    bool Repeats(const Key& key, const QKeyEvent& event) const;
    // True when `earlier`, aimed at a form before `form` or itself kept
    // back, came less than a double-click interval before now.
    bool ContinuesStrayBurst(const Press& earlier, const Form* form) const;
    bool AimedBefore(std::uint64_t mark, const Form* form) const;

    Clock clock_;
    Milliseconds now_{0};
    std::uint64_t showMark_ = 0;
    Press lastPress_;
    Press lastActivation_;
    std::map<int, Key> keys_;
};

}  // namespace app
