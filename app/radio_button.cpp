#include "app/radio_button.h"

#include <QRadioButton>

namespace app {
namespace {

void UpdateTabStops(const QList<QRadioButton*>& group) {
    for (QRadioButton* button : group) {
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

}  // namespace

void MakeTabStopFollowCheck(const QList<QRadioButton*>& group) {
    UpdateTabStops(group);
    for (QRadioButton* button : group) {
        QObject::connect(button, &QRadioButton::toggled, button, [group] { UpdateTabStops(group); });
    }
}

}  // namespace app
