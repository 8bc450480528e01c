#pragma once

#include <QList>
#include <QRadioButton>

namespace app {

// A radio button that is chosen by a click anywhere on it, not only on its
// circle and caption, as a row of answers in a test should be. The arrows
// choose the button they move to, also from one that Tab reached while
// none of the group was chosen.
class RadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }
    void keyPressEvent(QKeyEvent* event) override;
};

// Radio buttons of one group as a keyboard user expects them: the group is
// one tab stop, the checked button or, while none is checked, the first.
void MakeTabStopFollowCheck(const QList<QRadioButton*>& group);

}  // namespace app
