#include "screens/question_on_screen.h"

#include <QPointer>

#include "screens/question_window.h"

namespace {

QPointer<TQuestionWindow>& OnScreen() {
    static QPointer<TQuestionWindow> window;
    return window;
}

}  // namespace

void ShowOnlyQuestion(TQuestionWindow& window) {
    if (OnScreen() != nullptr && OnScreen() != &window) OnScreen()->Hide();
    OnScreen() = &window;
}

bool IsQuestionOnScreen(const TQuestionWindow& window) { return OnScreen() == &window && window.isVisible(); }

void HideQuestionOnScreen() {
    if (OnScreen() != nullptr) OnScreen()->Hide();
    OnScreen() = nullptr;
}
