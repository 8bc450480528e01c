#include "app/application.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTranslator>
#include <cstdio>
#include <exception>

#include "app/fonts.h"
#include "app/icon/icon_image.h"

namespace app {

namespace {

int programArgc = 1;
char programName[] = "kalvena";
char* programArgv[] = {programName, nullptr};

}  // namespace

GuardedQtApplication::GuardedQtApplication() : QApplication(programArgc, programArgv) {}

GuardedQtApplication::GuardedQtApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedQtApplication::notify(QObject* receiver, QEvent* event) {
    try {
        if (App().SwallowsStrayInput(receiver, event)) return true;
        return QApplication::notify(receiver, event);
    } catch (...) {
        App().ShowCurrentException();
        return false;
    }
}

namespace {

// Qt's own strings (the edit fields' context menus, the standard dialogs'
// buttons) in Russian whatever the machine's locale: Qt's Russian
// translation from the Qt the program runs with (Debian's
// qt6-translations-l10n, a dependency of the package). It is read, not
// compiled in, because it comes under Qt's licence, not the program's.
void InstallQtTranslation() {
    static QTranslator translator;
    if (!translator.isEmpty()) return;
    if (translator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&translator);
    }
}

}  // namespace

Application& App() {
    static Application application;
    return application;
}

void Application::Initialize() {
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // This style draws controls without per-window pixmap caches, so memory
    // stays flat over a day of tests.
    QApplication::setStyle(QStringLiteral("Windows"));
    // The window class is the application name: the desktop groups the
    // windows under the menu entry of that name (StartupWMClass).
    QCoreApplication::setApplicationName(QString::fromLatin1(kDesktopId));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    QGuiApplication::setWindowIcon(icontool::WindowIcon("kalvena"));
    InstallQtTranslation();
    RegisterDesignFonts();
    strayInput_.Forget();
    terminated_ = false;
}

void Application::Run() {
    if (terminated_ || mainForm_ == nullptr) return;
    QCoreApplication::exec();
}

void Application::ShowException(const QString& message) {
    if (exceptionDisplay_) {
        exceptionDisplay_(message);
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QMessageBox::critical(activeForm_, QString::fromUtf8(kProgramTitle), message);
    } else {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

void Application::ShowCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowException(QString());
    }
}

void Application::SetExceptionDisplay(ExceptionDisplay display) { exceptionDisplay_ = std::move(display); }

void Application::ShowNotice(const QString& message) {
    if (noticeDisplay_) {
        noticeDisplay_(message);
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QMessageBox::warning(activeForm_, QString::fromUtf8(kProgramTitle), message);
    } else {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

void Application::SetNoticeDisplay(ExceptionDisplay display) { noticeDisplay_ = std::move(display); }

void Application::Guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        ShowCurrentException();
    }
}

int Application::LiveFormCount() const {
    int count = 0;
    for (const QPointer<Form>& form : forms_) {
        if (form != nullptr) ++count;
    }
    return count;
}

QRect Application::WorkArea() const {
    if (QScreen* screen = QGuiApplication::primaryScreen()) return screen->availableGeometry();
    return QRect(0, 0, 800, 600);
}

void Application::DestroyForms() {
    // Newest first, the main form last.
    while (!forms_.empty()) {
        delete forms_.back().data();
        forms_.pop_back();
    }
    mainForm_ = nullptr;
    activeForm_ = nullptr;
}

void Application::Adopt(Form* form) {
    std::erase_if(forms_, [](const QPointer<Form>& f) { return f == nullptr; });
    forms_.emplace_back(form);
    if (mainForm_ == nullptr) mainForm_ = form;
}

void Application::FormShown(Form* form) { ActivateForm(form); }

void Application::FormHidden(Form* form) {
    if (activeForm_ == form) activeForm_ = nullptr;
    // A hidden form is never used again; it goes once control is back in
    // the event loop, never inside its own running handler.
    if (form != mainForm_) form->deleteLater();
}

void Application::FormActivatedBySystem(Form* form) {
    if (form->isVisible()) ActivateForm(form);
}

void Application::ActivateForm(Form* form) {
    // Coming back from another program leaves the active form unchanged, so
    // only a change between the program's own forms fires activation.
    if (activeForm_ == form) return;
    activeForm_ = form;
    Guard([form] { form->FormActivate(); });
}

void Application::Terminate() {
    terminated_ = true;
    QCoreApplication::exit(0);
}

}  // namespace app
