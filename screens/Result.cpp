#include "screens/Result.h"

#include <QLabel>
#include <QPushButton>

#include "app/colors.h"
#include "app/fonts.h"
#include "engine/grading.h"
#include "screens/Cap.h"
#include "screens/ui_parts.h"

TResults::TResults() : app::Form(QStringLiteral("Калвена: результаты"), app::Size{750, 540}) {
    SetBackground(app::clCream);
    setAccessibleName(QStringLiteral("Калвена: результаты"));

    Resultlabel = MakeLabel(this, QStringLiteral("Ваши результаты"), app::kComicSansMs, 27, app::clRed);
    Place(Resultlabel, {264, 23, 223, 38});
    rightanswer = MakeLabel(this, QStringLiteral("Правильных ответов: "), app::kTimesNewRoman, 19, app::clRed);
    PlaceGrowingRight(rightanswer, {102, 143, 176, 21});
    wronganswer =
        MakeLabel(this, QStringLiteral("Неправильных ответов: "), app::kTimesNewRoman, 19, app::clWindowText());
    PlaceGrowingRight(wronganswer, {102, 206, 194, 21});
    mug = MakeLabel(this, QStringLiteral("Ваша оценка: "), app::kTimesNewRoman, 29, app::clBlue);
    PlaceGrowingRight(mug, {225, 370, 172, 33});

    EndOfTest = MakeButton(this, QStringLiteral("OK"), app::kWindowFontPixels);
    Place(EndOfTest, {344, 494, 97, 33});

    OnClick(EndOfTest, [this] { EndOfTestClick(); });
}

void TResults::FormCreate() {
    rightanswer->setText(rightanswer->text() + QString::number(Kalvena->RightCount));
    wronganswer->setText(wronganswer->text() + QString::number(Kalvena->WrongCount));
    const std::int32_t percent = engine::PercentRight(Kalvena->RightCount, Kalvena->QuestionOrdinal);
    mug->setText(mug->text() + QString::fromUtf8(engine::GradeFor(percent)));
}

void TResults::EndOfTestClick() { emit Acknowledged(); }

void TResults::SystemCloseRequest() { EndOfTestClick(); }
