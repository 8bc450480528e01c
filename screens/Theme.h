#pragma once

#include <QPointer>
#include <array>

#include "app/form.h"
#include "engine/theme_table.h"

class QLabel;
class QPushButton;
class QRadioButton;

// The theme choice window: every theme of the table, the first one checked.
class TThemes : public app::Form {
    Q_OBJECT

public:
    TThemes();

    QPushButton* Start;
    QPushButton* exit;
    QLabel* kalvena;
    std::array<QRadioButton*, engine::kThemeCount> T{};  // T[0] is T1

    void StartClick();
    void exitClick();
    void FormClose() override;
};

inline QPointer<TThemes> Themes;
