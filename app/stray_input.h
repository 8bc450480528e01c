#pragma once

#include <cstdint>

class QEvent;
class QKeyEvent;
class QMouseEvent;
class QObject;

namespace app {

class Form;

// Keeps from a form that has just been shown the input that was aimed at
// the form before it: the second click of a double-click whose first click
// opened it, a button released after its press went elsewhere, the repeats
// of a key held down since before it appeared, and a second Enter or Space
// struck as fast as a double-click. A deliberate press after the system's
// double-click interval goes through as always.
class StrayInputFilter {
public:
    // A new mark for a form being shown: input recorded under an earlier
    // mark was aimed elsewhere.
    std::uint64_t NextShowMark() { return ++showMark_; }

    // True when `event` must not reach `receiver`.
    bool Swallows(QObject* receiver, QEvent* event);

private:
    struct Press {
        bool seen = false;
        std::uint64_t timestamp = 0;
        std::uint64_t mark = 0;
        bool swallowed = false;
    };

    bool SwallowsPress(const Form* form, const QMouseEvent& event);
    bool SwallowsKey(const Form* form, const QKeyEvent& event);
    bool SwallowsActivation(const Form* form, const QKeyEvent& event);
    // True when `earlier`, aimed at a form before `form` or itself kept
    // back, came less than a double-click interval before `timestamp`.
    bool ContinuesStrayBurst(const Press& earlier, std::uint64_t timestamp, const Form* form) const;
    bool AimedBefore(std::uint64_t mark, const Form* form) const;

    std::uint64_t showMark_ = 0;
    Press lastPress_;
    Press lastActivation_;
    int lastKey_ = 0;
    std::uint64_t lastKeyMark_ = 0;
    bool lastKeySwallowed_ = false;
};

}  // namespace app
