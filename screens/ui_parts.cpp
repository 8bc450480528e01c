#include "screens/ui_parts.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include "app/colors.h"
#include "app/fonts.h"
#include "app/radio_button.h"

QPushButton* MakeButton(QWidget* parent, const QString& caption, int fontPixels) {
    auto* button = new QPushButton(caption, parent);
    button->setFont(app::DesignFont(app::kMsSansSerif, fontPixels));
    button->setAutoDefault(true);
    return button;
}

namespace {

class DefaultButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void focusOutEvent(QFocusEvent* event) override {
        QPushButton::focusOutEvent(event);
        setDefault(true);
    }
};

}  // namespace

QPushButton* MakeDefaultButton(QWidget* parent, const QString& caption) {
    auto* button = new DefaultButton(caption, parent);
    button->setFont(app::DesignFont(app::kMsSansSerif, kButtonFontPixels));
    button->setAutoDefault(true);
    button->setDefault(true);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QString& family, int fontPixels, const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(app::DesignFont(family, fontPixels));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QLabel* MakeNote(QWidget* parent, const QString& text) {
    return MakeLabel(parent, text, app::kMsSansSerif, app::kWindowFontPixels, app::kNoteGrey);
}

QRadioButton* MakeRadio(QWidget* parent, const QString& caption) { return new app::RadioButton(caption, parent); }
