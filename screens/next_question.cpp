#include "screens/next_question.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>

#include "app/application.h"
#include "engine/question_walk.h"
#include "screens/Cap.h"
#include "screens/question_on_screen.h"
#include "screens/question_window.h"

namespace {

// The window made ahead: never shown, so it takes no input and no screen
// reader meets it, until its turn.
QPointer<TQuestionWindow>& Ahead() {
    static QPointer<TQuestionWindow> window;
    return window;
}

void DiscardAhead() {
    delete Ahead().data();
    Ahead() = nullptr;
}

void MakeNextAhead(const TQuestionWindow& current) {
    // Only while the window is the test's question on screen is the state
    // that of its test; after the last question the results come.
    if (Kalvena == nullptr || !IsQuestionOnScreen(current)) return;
    if (Kalvena->QuestionOrdinal >= Kalvena->QuestionsToAsk) return;
    engine::TestState next = *Kalvena;
    engine::PickNextQuestion(next);
    const engine::QuestionId id{current.Id().theme, next.CurrentQuestion};
    if (Ahead() != nullptr && Ahead()->Id() == id) return;
    DiscardAhead();
    try {
        Ahead() = app::App().MakeForm<TQuestionWindow>(id);
        // Polished now, not as it is shown.
        Ahead()->ensurePolished();
    } catch (...) {
        // Made again as the student moves on, where a fault is shown.
        DiscardAhead();
    }
}

// Makes the next window ahead once `window` has painted: before, the work
// would hold up the student's first sight of it.
class AfterFirstPaint final : public QObject {
public:
    explicit AfterFirstPaint(TQuestionWindow& window) : QObject(&window), window_(window) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint) {
            window_.removeEventFilter(this);
            QTimer::singleShot(0, &window_, [window = &window_] { MakeNextAhead(*window); });
            deleteLater();
        }
        return false;
    }

private:
    TQuestionWindow& window_;
};

}  // namespace

TQuestionWindow& ShowQuestionWindow(engine::QuestionId id) {
    TQuestionWindow* window = nullptr;
    if (Ahead() != nullptr && Ahead()->Id() == id) {
        window = Ahead();
        Ahead() = nullptr;
        // Made while the question before was on screen.
        window->NumberTitle();
    } else {
        DiscardAhead();
        window = app::App().MakeForm<TQuestionWindow>(id);
    }
    app::App().ShowMadeForm(QuestionWindowReference(id), window);
    new AfterFirstPaint(*window);
    return *window;
}
