#include "screens/theme_starter.h"

#include <array>

#include "content/question_names.h"
#include "engine/theme_table.h"
#include "screens/exam_operations.h"

TThemeStarter::TThemeStarter(int theme)
    : app::Form(QString::fromStdString(content::StarterInstanceName(theme)), app::Size{0, 0}, {}, false) {
    setObjectName(QString::fromStdString(content::StarterInstanceName(theme)));
    setProperty("className", QString::fromStdString(content::StarterClassName(theme)));
    setProperty("sourceUnit", QString::fromStdString(content::StarterUnitName(theme)));
    BeginTest(theme);
}

QPointer<TThemeStarter>& ThemeStarterReference(int theme) {
    static std::array<QPointer<TThemeStarter>, engine::kThemeCount> references;
    return references.at(static_cast<std::size_t>(theme - 1));
}
