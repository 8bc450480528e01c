// The program's look and language do not depend on the machine: the design
// fonts are drawn in the faces the program carries, whatever fonts the
// machine has (CTest runs this file again with no fonts at all and with
// impostor faces of the same names), and Qt's own strings are Russian.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <cstdlib>

#include "app/application.h"
#include "app/fonts.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr char kRenderTo[] = "KALVENA_TEST_RENDER_TO";

class MachineIndependenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        app::App().SetClientAreaOverride(QRect(0, 0, 800, 600));
        driver::StartProgram();
    }
    void TearDown() override { app::App().SetClientAreaOverride(std::nullopt); }

    testsupport::TemporaryWorkingDirectory directory;
};

TEST_F(MachineIndependenceTest, DesignFontsAreTheCarriedFaces) {
    for (const QString& family : {app::kTimesNewRoman, app::kMsSansSerif, app::kComicSansMs}) {
        for (const int pixels : {11, 13, 16, 21, 32, 67}) {
            const QFont font = app::DesignFont(family, pixels);
            EXPECT_TRUE(app::IsCarriedFace(font)) << family.toStdString() << " " << pixels << " px";
            EXPECT_EQ(QFontInfo(font).pixelSize(), pixels);
        }
    }
    for (QWidget* control : Kalvena->findChildren<QWidget*>()) {
        EXPECT_TRUE(app::IsCarriedFace(control->font())) << control->metaObject()->className();
    }
    EXPECT_TRUE(app::IsCarriedFace(QApplication::font())) << "menus and dialogs";
}

TEST_F(MachineIndependenceTest, OnlyTheCarriedFacesAreKnown) {
    // The machine's fonts are not even listed, whatever its configuration.
    const QStringList families = QFontDatabase::families();
    EXPECT_TRUE(families.contains(app::CarriedFamily(app::kTimesNewRoman))) << families.join(", ").toStdString();
    EXPECT_TRUE(families.contains(app::CarriedFamily(app::kMsSansSerif))) << families.join(", ").toStdString();
    const QStringList generic = {QStringLiteral("Serif"), QStringLiteral("Sans Serif"), QStringLiteral("Monospace")};
    for (const QString& family : families) {
        EXPECT_TRUE(family.startsWith(QStringLiteral("KalvenaLib ")) || generic.contains(family))
            << family.toStdString();
        EXPECT_TRUE(app::IsCarriedFace(QFont(family))) << family.toStdString();
    }
}

// Renders the registration window; in a child run of this test with the
// machine's fonts hidden, to the file the parent names.
TEST_F(MachineIndependenceTest, RegistrationWindowLooksTheSameWithTheMachinesFontsHidden) {
    const QImage here = Kalvena->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (const QByteArray output = qgetenv(kRenderTo); !output.isEmpty()) {
        ASSERT_TRUE(here.save(QString::fromLocal8Bit(output), "PNG"));
        return;
    }
    const QString picture = QString::fromStdString((directory.Path() / "hidden.png").string());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), QStringLiteral(KALVENA_NO_FONTS_CONF));
    environment.insert(QString::fromLatin1(kRenderTo), picture);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=MachineIndependenceTest.RegistrationWindowLooksTheSame*")});
    ASSERT_TRUE(child.waitForFinished(120000));
    ASSERT_EQ(child.exitCode(), 0);
    const QImage hidden = QImage(picture).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(hidden.size(), here.size());
    EXPECT_EQ(hidden, here);
}

TEST_F(MachineIndependenceTest, NameFieldsContextMenuIsRussian) {
    QStringList items;
    // The menu pops up from inside the event; read it once control is back.
    QTimer::singleShot(0, [&items] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator()) items << action->text().section(QLatin1Char('\t'), 0, 0);
            }
            menu->close();
        }
    });
    const QPoint inside = Kalvena->Surname->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, inside, Kalvena->Surname->mapToGlobal(inside));
    QApplication::sendEvent(Kalvena->Surname, &event);
    driver::Settle();
    // Undo, Redo, Cut, Copy, Paste, Delete, Select All; the shortcuts after
    // a tab are left out.
    ASSERT_EQ(items.size(), 7) << items.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(items.front(), QStringLiteral("&Отменить действие"));
    EXPECT_EQ(items.back(), QStringLiteral("Выделить всё"));
    static const QRegularExpression russian(QStringLiteral("^[&А-Яа-яЁё ]+$"));
    for (const QString& item : items) EXPECT_TRUE(russian.match(item).hasMatch()) << item.toStdString();
}

TEST_F(MachineIndependenceTest, ThemeChoiceHeadingIsSpelledRightAndFits) {
    driver::Register(QStringLiteral("Иванов Иван Иванович"), QStringLiteral("1"));
    ASSERT_NE(Themes, nullptr);
    EXPECT_EQ(Themes->kalvena->text(), QStringLiteral("Выберите тему:"));
    EXPECT_LE(Themes->kalvena->sizeHint().width(), Themes->kalvena->width());
}

}  // namespace
