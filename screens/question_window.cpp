#include "screens/question_window.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <map>

#include "app/application.h"
#include "app/colors.h"
#include "app/fonts.h"
#include "app/graphics/bitmap.h"
#include "app/graphics/dib_format.h"
#include "app/graphics/picture_box.h"
#include "app/radio_button.h"
#include "content/question_names.h"
#include "screens/Cap.h"
#include "screens/ui_parts.h"

namespace {

constexpr int kLabelFontPixels = 21;
constexpr int kOptionFontPixels = 16;
constexpr int kMaxLabelLines = 3;
constexpr int kDesignWidth = 800;
constexpr int kKeysHintHeight = 14;
// Room for rounding between measuring a line and drawing it.
constexpr int kLineSlack = 2;

// The label's design rectangle. Each line that the text breaks explicitly
// must stay one line: where this font sets a line a little wider than the
// one the width was chosen with, the label widens about its centre.
app::Rect LabelRect(const QLabel* label, const content::QuestionLayout& layout) {
    const QFontMetrics metrics(label->font());
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line) + kLineSlack);
    const int width = std::clamp(widest, layout.labelWidth, kDesignWidth);
    const int left = std::clamp(layout.labelLeft - (width - layout.labelWidth) / 2, 0, kDesignWidth - width);
    const int height = static_cast<int>(std::clamp<qsizetype>(lines.size(), 1, kMaxLabelLines)) * metrics.height();
    return {left, layout.labelTop, width, height};
}

// The picture at its natural size from the box's top-left corner, clipped
// to the box.
app::PictureBox* MakePicture(QWidget* parent, const content::QuestionPicture& picture) {
    auto bitmap = std::make_unique<app::TBitmap>();
    app::ReadBitmapFile(content::PictureFile(picture), *bitmap);
    auto* box = new app::PictureBox(parent, app::PictureBox::Fit::Natural);
    box->SetGraphic(std::move(bitmap));
    return box;
}

}  // namespace

QString DisplayedQuestionText(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral(" {5,}"));
    return QString(text).replace(lineBreak, QStringLiteral("\n"));
}

TQuestionWindow::TQuestionWindow(engine::QuestionId id)
    : app::Form(QStringLiteral("Калвена"), {kDesignWidth, content::Question(id).window.clientHeight},
                app::BorderIcons{.close = false}),
      record_(content::Question(id)) {
    const content::QuestionWindowDesign& design = record_.window;
    const content::QuestionLayout& layout = record_.layout;
    setObjectName(QString::fromStdString(content::InstanceName(id)));
    setProperty("className", ClassName());
    setProperty("sourceUnit", QString::fromStdString(content::SourceUnitName(id)));
    SetBackground(app::clCream);

    const QString text = QString::fromUtf8(record_.text.data(), static_cast<qsizetype>(record_.text.size()));
    Label1 = MakeLabel(this, DisplayedQuestionText(text), app::kTimesNewRoman, kLabelFontPixels, app::clRed);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(Label1, LabelRect(Label1, layout));
    // A screen reader reads the question as the window opens.
    setAccessibleDescription(text.simplified());

    QList<QRadioButton*> group;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const std::string_view option = record_.options[i];
        v[i] = MakeRadio(this, QString::fromUtf8(option.data(), static_cast<qsizetype>(option.size())));
        v[i]->setObjectName(QStringLiteral("v%1").arg(i + 1));
        v[i]->setFont(app::DesignFont(app::kTimesNewRoman, kOptionFontPixels));
        Place(v[i], {layout.optionsLeft, design.optionTops[i], layout.optionWidths[i], 25});
        group.append(v[i]);
    }
    app::MakeTabStopFollowCheck(group);

    // Made after the answers, the buttons follow them for Tab: the answers,
    // the button that moves on, and last the one that ends the test. The
    // window opens on the answers, so that ending the test is never one
    // stray key away.
    // Enter anywhere in the window moves on (see keyPressEvent); it never
    // ends the test, which only a click or Space on "Прекратить…" does.
    Start = MakeDefaultButton(this, QStringLiteral("Перейти к следующему вопросу"));
    Place(Start, {design.startLeft, design.buttonsTop, 223, 25});
    exit = MakeButton(this, QStringLiteral("Прекратить выполнение теста"));
    exit->setAutoDefault(false);
    Place(exit, {469, design.buttonsTop, 221, 25});

    Start->installEventFilter(this);
    exit->installEventFilter(this);

    if (record_.picture != nullptr) {
        Image1 = MakePicture(this, *record_.picture);
        // The name says what it is, never what it shows: that is the question.
        Image1->setAccessibleName(QStringLiteral("Рисунок к вопросу"));
        // In the frame of the text it illustrates, on any screen.
        Place(Image1, record_.picture->box);
    }

    // Below the buttons, along the bottom edge.
    KeysHint = MakeNote(this, QStringLiteral("Клавиши 1–4 — выбор ответа, Enter — следующий вопрос"));
    KeysHint->setAlignment(Qt::AlignCenter);
    Place(KeysHint, {0, design.clientHeight - kKeysHintHeight - 3, kDesignWidth, kKeysHintHeight});

    NumberTitle();

    OnClick(Start, [this] { StartClick(); });
    OnClick(exit, [this] { exitClick(); });
}

void TQuestionWindow::NumberTitle() {
    setWindowTitle(QString::fromUtf8(app::kProgramTitle) + QStringLiteral(": вопрос ") +
                   QString::number(Kalvena->QuestionOrdinal));
    // A screen reader also hears how many questions there are.
    setAccessibleName(QStringLiteral("%1 из %2").arg(windowTitle(), QString::number(Kalvena->QuestionsToAsk)));
}

QString TQuestionWindow::ClassName() const { return QString::fromStdString(content::WindowClassName(record_.id)); }

bool TQuestionWindow::RightOptionChecked() const {
    return v.at(static_cast<std::size_t>(record_.right - 1))->isChecked();
}

int TQuestionWindow::ChosenOption() const {
    const auto chosen = std::ranges::find_if(v, [](const QRadioButton* option) { return option->isChecked(); });
    return chosen == v.end() ? 0 : static_cast<int>(chosen - v.begin()) + 1;
}

void TQuestionWindow::keyPressEvent(QKeyEvent* event) {
    // Enter that no control took, after choosing with a digit or the arrows,
    // or on "Прекратить выполнение теста", moves on.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Start->click();
        return;
    }
    const int option = event->key() - Qt::Key_1 + 1;
    const bool plainOrKeypad = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (option < 1 || option > static_cast<int>(v.size()) || !plainOrKeypad) {
        app::Form::keyPressEvent(event);
        return;
    }
    // As a click on the option: chosen, and the focus on it, so that the
    // arrows move the choice from there.
    QRadioButton* chosen = v.at(static_cast<std::size_t>(option - 1));
    chosen->click();
    chosen->setFocus(Qt::ShortcutFocusReason);
}

bool TQuestionWindow::eventFilter(QObject* watched, QEvent* event) {
    // The arrows belong to the answers: from either button they go back to
    // them, never on to the button that ends the test.
    if (event->type() == QEvent::KeyPress && (watched == Start || watched == exit)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) {
            FocusAnswers(Qt::OtherFocusReason);
            return true;
        }
    }
    return app::Form::eventFilter(watched, event);
}

bool TQuestionWindow::focusNextPrevChild(bool next) {
    // Back from the answers is the button that moves on: the ring of tab
    // stops would otherwise lead straight to the one that ends the test.
    const QWidget* focus = focusWidget();
    if (!next && std::ranges::find(v, focus) != v.end()) {
        Start->setFocus(Qt::BacktabFocusReason);
        return true;
    }
    return app::Form::focusNextPrevChild(next);
}

void TQuestionWindow::FocusAnswers(Qt::FocusReason reason) {
    const auto stop = std::ranges::find_if(v, [](const QRadioButton* option) { return option->isChecked(); });
    (stop != v.end() ? *stop : v.front())->setFocus(reason);
}

void TQuestionWindow::StartClick() { emit AnswerSubmitted(); }

void TQuestionWindow::exitClick() { emit StopRequested(); }

void TQuestionWindow::FormClose() { Kalvena->Close(); }

QPointer<TQuestionWindow>& QuestionWindowReference(engine::QuestionId id) {
    static std::map<std::pair<int, int>, QPointer<TQuestionWindow>> references;
    return references[{id.theme, id.number}];
}
