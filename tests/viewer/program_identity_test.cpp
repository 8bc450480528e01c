#include "viewer/window/program_identity.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>
#include <algorithm>

#include "tests/support/desktop_entry.h"

namespace {

// The window manager reads the window class (the application name) as
// Latin-1 and matches it with the menu entry's StartupWMClass.
TEST(ProgramIdentity, WindowsCarryTheMenuEntrysClassAndTheViewersIcon) {
    QGuiApplication::setWindowIcon(QIcon());
    viewer::SetProgramIdentity();
    EXPECT_EQ(testsupport::DesktopEntryValue("org.kalvena.Results", "StartupWMClass"), "org.kalvena.Results");
    const QString name = QCoreApplication::applicationName();
    EXPECT_EQ(name, "org.kalvena.Results");
    EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; }));
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.kalvena.Results");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Калвена — результаты");
    EXPECT_FALSE(QGuiApplication::windowIcon().pixmap(32).isNull());
}

}  // namespace
