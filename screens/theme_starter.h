#pragma once

#include <QPointer>

#include "app/form.h"

// The starter of a theme (Tqt1 … Tqt13): a window that is never shown and
// whose construction starts a test in its theme.
class TThemeStarter : public app::Form {
    Q_OBJECT

public:
    explicit TThemeStarter(int theme);
};

// The reference to the newest starter of a theme (qt1 … qt13).
QPointer<TThemeStarter>& ThemeStarterReference(int theme);
