#pragma once

#include <QElapsedTimer>
#include <QTest>
#include <functional>

namespace viewertest {

// Runs the event loop until the condition holds: the time it took, or -1
// once `limitMs` have passed.
inline qint64 WaitUntil(const std::function<bool()>& condition, int limitMs = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > limitMs) return -1;
        QTest::qWait(10);
    }
    return clock.elapsed();
}

inline bool Eventually(const std::function<bool()>& condition, int limitMs = 3000) {
    return WaitUntil(condition, limitMs) >= 0;
}

}  // namespace viewertest
