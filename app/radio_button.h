#pragma once

#include <QList>
#include <QRadioButton>

namespace app {

// A radio button that is chosen by a click anywhere on it, not only on its
// circle and caption, as a row of answers in a test should be.
class RadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }
};

// Radio buttons of one group as a keyboard user expects them: only the
// checked one is a tab stop, so with none checked Tab passes the group by.
void MakeTabStopFollowCheck(const QList<QRadioButton*>& group);

}  // namespace app
