#pragma once

#include <QList>

class QRadioButton;

namespace app {

// Radio buttons of one group as a keyboard user expects them: only the
// checked one is a tab stop, so with none checked Tab passes the group by.
void MakeTabStopFollowCheck(const QList<QRadioButton*>& group);

}  // namespace app
