#pragma once

#include <QApplication>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "app/stray_input.h"

namespace app {

class Form;

// The name of the program's menu entry (org.kalvena.Kalvena.desktop) and
// icon; also its window class, which the window manager reads as Latin-1,
// so ASCII. The name the student sees is kProgramTitle.
inline constexpr char kDesktopId[] = "org.kalvena.Kalvena";
inline constexpr char kProgramTitle[] = "Калвена";

// Qt's application object, with a last line of defence: an exception that
// escapes any event handler is shown and the event loop goes on. The
// start-up function keeps it on its stack, so Qt's own shutdown runs once
// the forms are gone.
class GuardedQtApplication : public QApplication {
public:
    // The program reads no command line: Qt gets the program's name only.
    GuardedQtApplication();
    GuardedQtApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The program's application object: owns every form, knows the main form
// and the active one, runs the event loop and shows escaped exceptions.
class Application {
public:
    using ExceptionDisplay = std::function<void(const QString& message)>;

    // Prepares the application before any form exists (its identity for the
    // desktop, style, translation, fonts); Qt's application object must
    // exist already.
    void Initialize();

    // Constructs a form owned by the application, runs its creation handler,
    // stores it in `reference` and shows it when it is created visible. The
    // first form created becomes the main form.
    template <class T, class... Args>
    T* CreateForm(QPointer<T>& reference, Args&&... args);
    // The same in two steps, for a form made before its turn: MakeForm
    // constructs it, owned by the application, and runs its creation
    // handler; ShowMadeForm stores it in `reference` and shows it.
    template <class T, class... Args>
    T* MakeForm(Args&&... args);
    template <class T>
    T* ShowMadeForm(QPointer<T>& reference, T* form);

    // Runs the event loop until the main form has been closed or Terminate
    // was called.
    void Run();
    // Ends the event loop once the running handler returns.
    void Terminate();

    // Shows the message of the exception in flight (or of `message`).
    void ShowException(const QString& message);
    void ShowCurrentException();
    // Tests replace the modal dialog with a recorder.
    void SetExceptionDisplay(ExceptionDisplay display);
    // A message the user must read before the program goes on (a modal
    // dialog; a recorder in tests).
    void ShowNotice(const QString& message);
    void SetNoticeDisplay(ExceptionDisplay display);

    // Runs a handler; an exception that escapes it is shown, and whatever
    // the handler changed before it stays changed.
    void Guard(const std::function<void()>& handler);

    Form* MainForm() const { return mainForm_; }
    Form* ActiveForm() const { return activeForm_; }
    bool Terminated() const { return terminated_; }
    int LiveFormCount() const;

    // The desktop work area that every visible form fills.
    QRect WorkArea() const;
    // Tests give forms an exact client area instead.
    std::optional<QRect> ClientAreaOverride() const { return clientAreaOverride_; }
    void SetClientAreaOverride(std::optional<QRect> area) { clientAreaOverride_ = area; }

    // Destroys every form still alive; the program's end, or a test's.
    void DestroyForms();

    // Input that the user aimed at the form before the one now shown is
    // kept from it; see StrayInputFilter.
    bool SwallowsStrayInput(QObject* receiver, QEvent* event) { return strayInput_.Swallows(receiver, event); }
    StrayInputFilter& StrayInput() { return strayInput_; }

    // Called by forms.
    std::uint64_t NextShowMark() { return strayInput_.NextShowMark(); }
    void FormShown(Form* form);
    void FormHidden(Form* form);
    void FormActivatedBySystem(Form* form);

private:
    void Adopt(Form* form);
    void ActivateForm(Form* form);

    std::vector<QPointer<Form>> forms_;
    QPointer<Form> mainForm_;
    QPointer<Form> activeForm_;
    bool terminated_ = false;
    std::optional<QRect> clientAreaOverride_;
    ExceptionDisplay exceptionDisplay_;
    ExceptionDisplay noticeDisplay_;
    StrayInputFilter strayInput_;
};

Application& App();

}  // namespace app

#include "app/form.h"

namespace app {

template <class T, class... Args>
T* Application::CreateForm(QPointer<T>& reference, Args&&... args) {
    T* form = new T(std::forward<Args>(args)...);
    reference = form;
    Adopt(form);
    Guard([form] { form->FormCreate(); });
    if (form->VisibleAtCreation()) {
        form->Show();
    } else if (form != mainForm_) {
        // A form that is never shown has done its work by being created.
        form->deleteLater();
    }
    return form;
}

template <class T, class... Args>
T* Application::MakeForm(Args&&... args) {
    T* form = new T(std::forward<Args>(args)...);
    Adopt(form);
    Guard([form] { form->FormCreate(); });
    return form;
}

template <class T>
T* Application::ShowMadeForm(QPointer<T>& reference, T* form) {
    reference = form;
    form->Show();
    return form;
}

}  // namespace app
