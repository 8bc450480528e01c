#include "screens/Cap.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/colors.h"
#include "app/fonts.h"
#include "app/graphics/picture_box.h"
#include "content/jpeg/registration_photo.h"
#include "facts/program_texts.h"
#include "facts/registration_limits.h"
#include "facts/results_files.h"
#include "log/log_field.h"
#include "screens/exam_operations.h"
#include "screens/ui_parts.h"

namespace {

// Room for any real full name and platoon; more is a slip or a paste of
// something else, and would only clutter the log.
constexpr int kFullNameMaxLength = static_cast<int>(facts::kFullNameLimit);
constexpr int kPlatoonMaxLength = static_cast<int>(facts::kPlatoonLimit);

}  // namespace

TKalvena::TKalvena(std::unique_ptr<TestSession> session)
    : app::Form(QStringLiteral("Калвена"), app::Size{750, 540}), session_(std::move(session)) {
    SetBackground(app::clCream);
    // The title is the program's name alone; a screen reader is told which
    // window this is.
    setAccessibleName(QStringLiteral("Калвена: регистрация"));

    Start = MakeButton(this, QStringLiteral("Начать выполнение теста"));
    Place(Start, {219, 505, 188, 25});
    exit = MakeButton(this, QStringLiteral("Выход"));
    Place(exit, {458, 505, 73, 25});

    kalvena = MakeLabel(this, QStringLiteral("Калвена"), app::kTimesNewRoman, 67, app::clRed);
    Place(kalvena, {257, 33, 235, 80});

    // The photograph, stretched to its box, decoded when first painted.
    Image1 = new app::PictureBox(this, app::PictureBox::Fit::Stretch);
    Image1->SetGraphic(jpeg::LoadRegistrationPhoto());
    Place(Image1, {202, 117, 345, 236});

    FIO = MakeLabel(this, QStringLiteral("Фамилия, имя, отчество студента"), app::kTimesNewRoman, 16,
                    app::clWindowText());
    PlaceGrowingRight(FIO, {67, 388, 228, 19});
    vzvod = MakeLabel(this, QStringLiteral("Учебный взвод"), app::kTimesNewRoman, 16, app::clWindowText());
    PlaceGrowingRight(vzvod, {190, 426, 105, 19});

    Surname = MakeField(FIO, {315, 386, 369, 27}, kFullNameMaxLength);
    wzvod = MakeField(vzvod, {315, 424, 89, 27}, kPlatoonMaxLength);
    // To the right of the platoon field, level with it.
    LengthNote = MakeNote(this, QString::fromStdString(facts::LengthNoteText()));
    LengthNote->setWordWrap(true);
    Place(LengthNote, {414, 424, 270, 27});
    LengthNote->hide();
    DroppedNote = MakeNote(this, QStringLiteral("Некоторые символы не поддерживаются и были удалены"));
    Place(DroppedNote, {315, 453, 369, 14});
    DroppedNote->hide();
    // Above the fields, in red: the registration did not go through.
    EmptyNote = MakeLabel(this, QString(), app::kMsSansSerif, app::kWindowFontPixels, app::clRed);
    Place(EmptyNote, {315, 367, 369, 16});
    EmptyNote->hide();
    // Where the dropped characters' note stands: a name refused for the log
    // was typed in full, so that note is not up meanwhile.
    FieldRefusal = MakeLabel(this, QString(), app::kMsSansSerif, app::kWindowFontPixels, app::clRed);
    Place(FieldRefusal, {315, 453, 369, 14});
    FieldRefusal->hide();

    LogWarning =
        MakeLabel(this, QString::fromStdString(facts::UnwritableLogWarning(session_->LogPath().filename().string())),
                  app::kTimesNewRoman, 16, app::clRed);
    LogWarning->setAlignment(Qt::AlignCenter);
    Place(LogWarning, {40, 470, 670, 21});
    LogWarning->hide();

    OnClick(Start, [this] { StartClick(); });
    OnClick(exit, [this] { exitClick(); });
    // Made last: the session may call back as soon as it retries.
    session_->OnChange([this] { UpdateLogWarning(); });
}

QLineEdit* TKalvena::MakeField(QLabel* label, const app::Rect& design, int maxLength) {
    auto* field = new QLineEdit(this);
    field->setFont(app::DesignFont(app::kTimesNewRoman, 16));
    field->setValidator(new LogTextValidator(
        field, maxLength, [this, field](LogTextValidator::Losses losses) { ReportLosses(field, losses); }));
    // A screen reader names the field by its label.
    field->setAccessibleName(label->text());
    label->setBuddy(field);
    Place(field, design);
    connect(field, &QLineEdit::textChanged, this, [this, field] {
        if (field == emptyField_ && !field->text().trimmed().isEmpty()) {
            emptyField_ = nullptr;
            ShowNotes();
        }
    });
    return field;
}

void TKalvena::FormActivate() {
    session_->Open();
    UpdateLogWarning();
}

void TKalvena::FormClose() { session_->Settle(); }

void TKalvena::StartClick() {
    // Spaces alone are no name; a name with spaces around it is logged as
    // typed.
    for (QLineEdit* field : {Surname, wzvod}) {
        if (field->text().trimmed().isEmpty()) {
            emptyField_ = field;
            ShowNotes();
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    // A name or platoon that the log's reader would take for a result line
    // could forge a classmate's grade.
    for (const bool fullName : {true, false}) {
        const QLineEdit* field = fullName ? Surname : wzvod;
        const resultslog::FieldProblem problem = resultslog::CheckLogField(
            field->text().toStdString(), fullName ? facts::kFullNameLimit : facts::kPlatoonLimit);
        if (problem == resultslog::FieldProblem::None) continue;
        FieldRefusal->setText(QStringLiteral("Не принято: ") +
                              QString::fromStdString(resultslog::FieldProblemText(problem, fullName)));
        FieldRefusal->show();
        DroppedNote->hide();
        return;
    }
    FieldRefusal->hide();
    ClearNotes();
    session_->Register(Surname->text(), wzvod->text());
    OpenThemeChoice();
    Hide();
}

void TKalvena::exitClick() { Close(); }

void TKalvena::ReturnForNextStudent() {
    Surname->setText(QString());
    wzvod->setText(QString());
    Show();
}

void TKalvena::UpdateLogWarning() {
    const QString text = session_->WarningText();
    if (!text.isEmpty()) LogWarning->setText(text);
    LogWarning->setVisible(!text.isEmpty());
}

void TKalvena::ReportLosses(QLineEdit* field, LogTextValidator::Losses losses) {
    // A later edit does not bring the characters back, so the note stays.
    if (losses.dropped) droppedIn_.insert(field);
    if (losses.cut) cutIn_.insert(field);
    ShowNotes();
}

void TKalvena::ShowNotes() {
    DroppedNote->setVisible(!droppedIn_.isEmpty());
    LengthNote->setVisible(!cutIn_.isEmpty());
    if (emptyField_ != nullptr) {
        EmptyNote->setText(emptyField_ == Surname ? QStringLiteral("Введите фамилию, имя и отчество студента")
                                                  : QStringLiteral("Введите учебный взвод"));
    }
    EmptyNote->setVisible(emptyField_ != nullptr);
    // A screen reader hears the notes with the field they concern.
    for (QLineEdit* field : {Surname, wzvod}) {
        if (field == nullptr) continue;
        QStringList notes;
        if (field == emptyField_) notes.append(EmptyNote->text());
        if (droppedIn_.contains(field)) notes.append(DroppedNote->text());
        if (cutIn_.contains(field)) notes.append(LengthNote->text());
        field->setAccessibleDescription(notes.join(QStringLiteral(". ")));
    }
}

void TKalvena::ClearNotes() {
    droppedIn_.clear();
    cutIn_.clear();
    emptyField_ = nullptr;
    ShowNotes();
}
