#pragma once

#include <QColor>
#include <QList>
#include <QRadioButton>

namespace app {

// A radio button that is chosen by a click anywhere on it, not only on its
// circle and caption, as a row of answers in a test should be. The arrows
// choose the button they move to, also from one that Tab reached while
// none of the group was chosen. The chosen row is shaded and framed, so the
// choice shows at a glance, not only by the small dot.
class RadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// The shade and frame of a chosen row.
inline const QColor kChosenRowShade{204, 224, 255};
inline const QColor kChosenRowFrame{40, 90, 190};

// Radio buttons of one group as a keyboard user expects them: the group is
// one tab stop, the checked button or, while none is checked, the first.
void MakeTabStopFollowCheck(const QList<QRadioButton*>& group);

}  // namespace app
