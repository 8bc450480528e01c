#pragma once

#include <QPointer>

#include "app/form.h"

class QLabel;
class QPushButton;

// The results window: the counts and the grade of the finished test.
class TResults : public app::Form {
    Q_OBJECT

public:
    TResults();

    QLabel* Resultlabel;
    QLabel* rightanswer;
    QLabel* wronganswer;
    QLabel* mug;
    QPushButton* EndOfTest;

    void FormCreate() override;
    void EndOfTestClick();
    // Closing the window by its close box must not lose the result.
    void SystemCloseRequest() override;

signals:
    // "OK", or the close box: the student has seen the results.
    void Acknowledged();
};

inline QPointer<TResults> Results;
