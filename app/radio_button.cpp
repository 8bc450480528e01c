#include "app/radio_button.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QRadioButton>
#include <algorithm>

namespace app {
namespace {

bool IsArrow(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

void UpdateTabStops(const QList<QRadioButton*>& group) {
    const bool noneChecked = std::none_of(group.begin(), group.end(), [](QRadioButton* b) { return b->isChecked(); });
    for (QRadioButton* button : group) {
        const bool stop = button->isChecked() || (noneChecked && button == group.first());
        button->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

}  // namespace

void RadioButton::keyPressEvent(QKeyEvent* event) {
    QRadioButton::keyPressEvent(event);
    if (!IsArrow(event->key())) return;
    // Qt moves the choice with the focus only from a checked button.
    auto* reached = qobject_cast<QRadioButton*>(QApplication::focusWidget());
    if (reached != nullptr && reached != this && reached->parentWidget() == parentWidget() &&
        reached->autoExclusive() && !reached->isChecked()) {
        reached->click();
    }
}

void RadioButton::paintEvent(QPaintEvent* event) {
    if (isChecked()) {
        QPainter painter(this);
        painter.fillRect(rect(), kChosenRowShade);
        painter.setPen(QPen(kChosenRowFrame, 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
    QRadioButton::paintEvent(event);
}

void MakeTabStopFollowCheck(const QList<QRadioButton*>& group) {
    UpdateTabStops(group);
    for (QRadioButton* button : group) {
        QObject::connect(button, &QRadioButton::toggled, button, [group] { UpdateTabStops(group); });
    }
}

}  // namespace app
