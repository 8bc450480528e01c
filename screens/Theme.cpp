#include "screens/Theme.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/application.h"
#include "app/colors.h"
#include "app/fonts.h"
#include "app/radio_button.h"
#include "engine/theme_table.h"
#include "screens/Cap.h"
#include "screens/theme_starter.h"
#include "screens/ui_parts.h"

namespace {

constexpr std::array<int, engine::kThemeCount> kRadioWidths{337, 345, 481, 329, 361, 337, 361,
                                                            369, 369, 377, 385, 393, 409};
}  // namespace

TThemes::TThemes() : app::Form(QStringLiteral("Калвена"), app::Size{749, 540}) {
    SetBackground(app::clCream);
    setAccessibleName(QStringLiteral("Калвена: выбор темы"));

    Start = MakeButton(this, QStringLiteral("Начать выполнение теста"));
    Place(Start, {219, 505, 188, 25});
    exit = MakeButton(this, QStringLiteral("Выход"));
    Place(exit, {457, 505, 73, 25});

    // The imperative "Выберите", not the future tense "Выберете".
    kalvena = MakeLabel(this, QStringLiteral("Выберите тему:"), app::kTimesNewRoman, 32, app::clBlack);
    Place(kalvena, {266, 0, 217, 48});

    QList<QRadioButton*> group;
    for (int theme = 1; theme <= engine::kThemeCount; ++theme) {
        const auto index = static_cast<std::size_t>(theme - 1);
        QRadioButton* button = MakeRadio(this, QString::fromUtf8(engine::Theme(theme).title));
        button->setObjectName(QStringLiteral("T%1").arg(theme));
        Place(button, {112, 56 + 32 * (theme - 1), kRadioWidths[index], 25});
        T[index] = button;
        group.append(button);
    }
    T[0]->setChecked(true);
    app::MakeTabStopFollowCheck(group);

    OnClick(Start, [this] { StartClick(); });
    OnClick(exit, [this] { exitClick(); });
}

void TThemes::StartClick() {
    for (int theme = 1; theme <= engine::kThemeCount; ++theme) {
        if (T[static_cast<std::size_t>(theme - 1)]->isChecked()) {
            app::App().CreateForm(ThemeStarterReference(theme), theme);
            break;
        }
    }
    Hide();
}

void TThemes::exitClick() {
    Kalvena->Show();
    Close();
}

void TThemes::FormClose() { Kalvena->Close(); }
