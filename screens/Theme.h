#pragma once

#include <QPointer>
#include <array>

#include "app/form.h"

class QLabel;
class QPushButton;
class QRadioButton;

// The theme choice window: thirteen themes, the first one checked.
class TThemes : public app::Form {
    Q_OBJECT

public:
    TThemes();

    QPushButton* Start;
    QPushButton* exit;
    QLabel* kalvena;
    std::array<QRadioButton*, 13> T{};  // T[0] is T1

    void StartClick();
    void exitClick();
    void FormClose() override;
};

inline QPointer<TThemes> Themes;
