#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <vector>

// Notices the first paint of a window, as the user's first sight of it. On
// an X server that is the first paint after the server has mapped the
// window and exposed it (under a window manager, once the manager has mapped
// its frame): Qt paints a window only when it is exposed, and the check
// below holds that on every platform.
class PaintWatch : public QObject {
public:
    PaintWatch() { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }

    void Expect(QWidget* window) {
        target_ = window;
        painted_ = false;
    }
    // Runs the event loop until the expected window has painted. It sleeps
    // between events: spinning would take from the X server and the window
    // manager the processor they need to show the window.
    void WaitForPaint() {
        while (!painted_) QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && target_ != nullptr) {
            auto* widget = qobject_cast<QWidget*>(watched);
            const QWindow* handle = target_->windowHandle();
            if (widget != nullptr && widget->window() == target_ && handle != nullptr && handle->isExposed()) {
                painted_ = true;
            }
        }
        return false;
    }

private:
    QPointer<QWidget> target_;  // a window gone meanwhile is no longer watched
    bool painted_ = false;
};

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}
