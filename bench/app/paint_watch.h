#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

// Notices the first paint of a window, as the user's first sight of it.
class PaintWatch : public QObject {
public:
    PaintWatch() { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }

    void Expect(QWidget* window) {
        target_ = window;
        painted_ = false;
    }
    // Runs the event loop until the expected window has painted.
    void WaitForPaint() {
        while (!painted_) QApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && target_ != nullptr) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget != nullptr && widget->window() == target_) painted_ = true;
        }
        return false;
    }

private:
    QWidget* target_ = nullptr;
    bool painted_ = false;
};

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}
