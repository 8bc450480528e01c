#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "app/application.h"
#include "app/exceptions.h"
#include "app/program.h"
#include "tests/support/desktop_entry.h"
#include "tests/support/gui_support.h"
#include "tests/support/temp_dir.h"

namespace {

class CountingForm : public app::Form {
public:
    explicit CountingForm(bool visible = true)
        : app::Form(QStringLiteral("Калвена"), app::Size{750, 540}, {}, visible) {
        button = new QPushButton(QStringLiteral("Начать"), this);
        Place(button, {219, 505, 188, 25});
        OnClick(button, [this] {
            ++clicks;
            if (throwOnClick) throw std::runtime_error("сбой");
        });
    }
    void FormCreate() override { ++creations; }
    void FormActivate() override { ++activations; }
    void FormClose() override { ++closes; }

    QPushButton* button;
    int creations = 0;
    int activations = 0;
    int closes = 0;
    int clicks = 0;
    bool throwOnClick = false;
};

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override { testsupport::ResetApplication(); }
    void TearDown() override { testsupport::ResetApplication(); }
};

QPointer<CountingForm> mainForm;
QPointer<CountingForm> otherForm;

TEST_F(ApplicationTest, FirstFormIsTheMainFormCreatedShownAndActivated) {
    app::App().CreateForm(mainForm);
    ASSERT_NE(mainForm, nullptr);
    EXPECT_EQ(app::App().MainForm(), mainForm.data());
    EXPECT_EQ(app::App().LiveFormCount(), 1);
    EXPECT_EQ(mainForm->creations, 1);
    EXPECT_TRUE(mainForm->isVisible());
    EXPECT_EQ(mainForm->activations, 1);
    EXPECT_EQ(mainForm->frameGeometry(), app::App().WorkArea());
}

TEST_F(ApplicationTest, ClosingTheMainFormEndsTheLoop) {
    app::App().CreateForm(mainForm);
    QTimer::singleShot(0, [] { mainForm->Close(); });
    app::App().Run();
    EXPECT_TRUE(app::App().Terminated());
    EXPECT_EQ(mainForm->closes, 1);
}

TEST_F(ApplicationTest, AnExceptionFromAClickIsShownAndTheLoopGoesOn) {
    app::App().CreateForm(mainForm);
    mainForm->throwOnClick = true;
    QTest::mouseClick(mainForm->button, Qt::LeftButton);
    ASSERT_EQ(testsupport::ShownExceptions().size(), 1);
    EXPECT_EQ(testsupport::ShownExceptions()[0], QStringLiteral("сбой"));
    mainForm->throwOnClick = false;
    QTest::mouseClick(mainForm->button, Qt::LeftButton);
    EXPECT_EQ(mainForm->clicks, 2);
    EXPECT_FALSE(app::App().Terminated());
}

TEST_F(ApplicationTest, ActivationFiresOnAChangeOfFormOnly) {
    app::App().CreateForm(mainForm);
    app::App().CreateForm(otherForm);
    mainForm->Hide();
    EXPECT_EQ(otherForm->activations, 1);

    // Back from another program: the active form has not changed.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(otherForm, &activate);
    otherForm->Show();
    EXPECT_EQ(otherForm->activations, 1);

    mainForm->Show();
    EXPECT_EQ(mainForm->activations, 2);
}

TEST_F(ApplicationTest, AHiddenFormIsReleasedAndItsReferenceReadsEmpty) {
    app::App().CreateForm(mainForm);
    app::App().CreateForm(otherForm);
    otherForm->Close();
    EXPECT_EQ(otherForm->closes, 1);
    EXPECT_FALSE(otherForm->isVisible());
    testsupport::ProcessEvents();
    EXPECT_EQ(otherForm, nullptr);
    EXPECT_EQ(app::App().LiveFormCount(), 1);
    EXPECT_FALSE(app::App().Terminated());
}

TEST_F(ApplicationTest, AFormNeverShownGoesOnceItIsCreated) {
    app::App().CreateForm(mainForm);
    app::App().CreateForm(otherForm, false);
    EXPECT_EQ(otherForm->creations, 1);
    testsupport::ProcessEvents();
    EXPECT_EQ(otherForm, nullptr);
}

TEST_F(ApplicationTest, AFormFillsTheWorkAreaAndKeepsItsControlsInside) {
    app::App().SetClientAreaOverride(QRect(0, 0, 1000, 720));
    app::App().CreateForm(mainForm);
    EXPECT_EQ(mainForm->button->geometry(), QRect(323, 677, 188, 25));

    app::App().SetClientAreaOverride(QRect(0, 0, 600, 400));
    app::App().CreateForm(otherForm);
    const QRect shrunk = otherForm->button->geometry();
    EXPECT_LE(shrunk.right(), 600);
    EXPECT_LE(shrunk.bottom(), 400);
    EXPECT_LT(shrunk.width(), 188);
    app::App().SetClientAreaOverride(std::nullopt);
}

}  // namespace

namespace {

TEST_F(ApplicationTest, StartUpExceptionsAreShownAndTheExitCodeStaysZero) {
    EXPECT_EQ(app::RunProgram([] { throw app::Exception("нет окна"); }), 0);
    EXPECT_EQ(app::RunProgram([] { throw std::runtime_error("other"); }), 0);
    EXPECT_EQ(app::RunProgram([] { throw 42; }), 0);
    EXPECT_EQ(testsupport::ShownExceptions(), (QStringList{QStringLiteral("нет окна"), QString(), QString()}));
    EXPECT_EQ(app::App().LiveFormCount(), 0);
}

TEST_F(ApplicationTest, ProgramRunsUntilItsMainFormIsClosed) {
    const int code = app::RunProgram([] {
        app::App().CreateForm(mainForm);
        QTimer::singleShot(0, [] { QTest::mouseClick(mainForm->button, Qt::LeftButton); });
        QTimer::singleShot(0, [] { mainForm->close(); });
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(mainForm, nullptr);
}

}  // namespace

namespace {

bool IsAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// The window manager reads the window class (the application name) as
// Latin-1 and matches it with the menu entry's StartupWMClass.
TEST_F(ApplicationTest, WindowsCarryTheMenuEntrysClassAndTheProgramsIcon) {
    app::App().Initialize();
    EXPECT_EQ(testsupport::DesktopEntryValue("org.kalvena.Kalvena", "StartupWMClass"), "org.kalvena.Kalvena");
    EXPECT_EQ(QCoreApplication::applicationName(), "org.kalvena.Kalvena");
    EXPECT_TRUE(IsAscii(QCoreApplication::applicationName()));
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.kalvena.Kalvena");
    EXPECT_FALSE(QGuiApplication::windowIcon().isNull());
    EXPECT_FALSE(QGuiApplication::windowIcon().pixmap(32).isNull());
}

// Every window takes every size of the icon to the X server as it is made:
// big sizes made each question change slower than a bare window's.
TEST_F(ApplicationTest, EveryWindowCarriesOnlyTheSmallSizesOfTheIcon) {
    app::App().Initialize();
    const QList<QSize> sizes = QGuiApplication::windowIcon().availableSizes();
    ASSERT_FALSE(sizes.isEmpty());
    qsizetype bytes = 0;
    for (const QSize& size : sizes) bytes += 4 * size.width() * size.height();
    EXPECT_LE(bytes, 20 * 1024);
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(48, 48)));
}

// Looking the icon up in the icon theme read every theme's index before the
// first window appeared, for the same picture the program paints.
TEST_F(ApplicationTest, TheIconIsPaintedNotLookedUpInTheIconTheme) {
    const testsupport::TemporaryWorkingDirectory directory;
    const std::filesystem::path apps = directory.Path() / "icons" / "blank" / "16x16" / "apps";
    std::filesystem::create_directories(apps);
    QImage blank(16, 16, QImage::Format_ARGB32);
    blank.fill(Qt::magenta);
    ASSERT_TRUE(blank.save(QString::fromStdString((apps / "org.kalvena.Kalvena.png").string())));
    std::ofstream(directory.Path() / "icons" / "blank" / "index.theme")
        << "[Icon Theme]\nName=blank\nDirectories=16x16/apps\n\n[16x16/apps]\nSize=16\nType=Fixed\n";
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QIcon::setThemeSearchPaths({QString::fromStdString((directory.Path() / "icons").string())});
    QIcon::setThemeName(QStringLiteral("blank"));
    const bool themeHoldsIt = QIcon::hasThemeIcon(QStringLiteral("org.kalvena.Kalvena"));

    app::App().Initialize();
    const QImage shown = QGuiApplication::windowIcon().pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(themeName);

    ASSERT_TRUE(themeHoldsIt);
    EXPECT_TRUE(shown != blank) << "the window icon is the icon theme's";
}

}  // namespace
