#include "app/form.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QWindowStateChangeEvent>

#include "app/application.h"
#include "app/fonts.h"
#include "app/form_accessibility.h"

namespace app {
namespace {

Qt::WindowFlags FlagsFor(BorderIcons icons) {
    // Qt gives every title bar with buttons the system menu anyway; whether
    // the window can be closed is the close button's hint alone.
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (icons.close) flags |= Qt::WindowCloseButtonHint;
    if (icons.minimize) flags |= Qt::WindowMinimizeButtonHint;
    if (icons.maximize) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

// The window manager's frame around a window on screen.
QMargins FrameMargins(const QWidget& window) {
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

// Room around a restored window for the window manager's frame, which is
// measured only after the window manager has placed the window.
constexpr QMargins kFrameAllowance{16, 48, 16, 16};

constexpr Qt::WindowStates kNotNormal = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;

// The frame of the last form the window manager fitted into the work area.
QMargins& LastFrame() {
    static QMargins frame;
    return frame;
}

}  // namespace

Form::Form(const QString& caption, Size designClient, BorderIcons icons, bool visible)
    : QWidget(nullptr, FlagsFor(icons)), designClient_(designClient), visibleAtCreation_(visible) {
    InstallFormAccessibility();
    setWindowTitle(caption);
    setFont(DesignFont(kMsSansSerif, kWindowFontPixels));
    resize(designClient.width, designClient.height);
}

Form::~Form() = default;

void Form::Show() {
    const bool wasVisible = isVisible();
    if (!wasVisible) showMark_ = App().NextShowMark();
    if (!wasVisible) FillWorkArea();
    show();
    if (!wasVisible) FillWorkArea();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
    activateWindow();
    if (!wasVisible) FocusFirstControl();
    App().FormShown(this);
}

void Form::FillWorkArea() {
    if (const std::optional<QRect> client = App().ClientAreaOverride()) {
        setGeometry(*client);
        return;
    }
    // The frame fills the work area; the client area is what it leaves. The
    // frame is known only once the window manager has framed a window, some
    // time after it is shown, and every form's frame is alike, so a form
    // about to be shown is sized by the last one seen: then it is laid out
    // and painted once, not again as the manager fits it in.
    // Where the platform frames a window as it shows it, the frame is known
    // at once. Asked only until known: on X each question is a round trip.
    if (isVisible() && LastFrame().isNull()) {
        if (const QMargins frame = FrameMargins(*this); !frame.isNull()) LastFrame() = frame;
    }
    const QRect client = App().WorkArea().marginsRemoved(LastFrame());
    if (geometry() != client) setGeometry(client);
    setWindowState(windowState() | Qt::WindowMaximized);
}

QRect Form::RestoredGeometry() const {
    const QRect room = App().WorkArea().marginsRemoved(kFrameAllowance);
    const Size design = ScaleSize(designClient_, logicalDpiX() / 96.0);
    QRect client(0, 0, std::min(design.width, room.width()), std::min(design.height, room.height()));
    client.moveCenter(room.center());
    return client;
}

void Form::Hide() {
    hide();
    App().FormHidden(this);
}

void Form::Close() {
    FormClose();
    if (App().MainForm() == this) {
        App().Terminate();
    } else {
        Hide();
    }
}

void Form::Place(QWidget* control, const Rect& design, Anchor anchor) {
    AddPlacement(Placement{control, design, control->font().pixelSize(), anchor, false});
}

void Form::PlaceGrowingRight(QLabel* label, const Rect& design) {
    AddPlacement(Placement{label, design, label->font().pixelSize(), Anchor::Centre, true});
}

void Form::AddPlacement(const Placement& placement) {
    placements_.push_back(placement);
    // A form that is not on screen yet lays everything out once, when the
    // size it is shown at arrives.
    if (isVisible()) PlaceOne(placement, Size{width(), height()});
}

void Form::OnClick(QAbstractButton* button, std::function<void()> handler) {
    connect(button, &QAbstractButton::clicked, this, [handler = std::move(handler)] { App().Guard(handler); });
}

void Form::SetBackground(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    setAutoFillBackground(true);
}

void Form::Relayout() {
    const Size client{width(), height()};
    const double dpiScale = logicalDpiX() / 96.0;
    scale_ = LayoutScale(designClient_, client, dpiScale);
    for (const Placement& placement : placements_) PlaceOne(placement, client);
}

void Form::PlaceOne(const Placement& placement, Size client) {
    QWidget* control = placement.control;
    if (control == nullptr) return;
    if (auto* scaled = dynamic_cast<LayoutScaled*>(control)) scaled->SetLayoutScale(scale_);
    if (placement.fontPixels > 0) {
        const int pixels = ScaleFontPixels(placement.fontPixels, scale_);
        if (control->font().pixelSize() != pixels) {
            QFont font = control->font();
            font.setPixelSize(pixels);
            control->setFont(font);
        }
    }
    const Rect design = ScaleRect(placement.design, scale_);
    const Rect at = PlaceControl(design, ScaleSize(designClient_, scale_), client, placement.anchor == Anchor::TopLeft);
    int controlWidth = at.width;
    int controlHeight = at.height;
    if (placement.growsRight) controlWidth = std::max(at.width, control->sizeHint().width());
    // A word-wrapped label's height is fitted to its text at its width.
    if (auto* label = qobject_cast<QLabel*>(control); label != nullptr && label->wordWrap()) {
        controlHeight = std::max(at.height, label->heightForWidth(controlWidth));
    }
    control->setGeometry(at.left, at.top, controlWidth, controlHeight);
}

void Form::FocusFirstControl() {
    for (QWidget* candidate = nextInFocusChain(); candidate != nullptr && candidate != this;
         candidate = candidate->nextInFocusChain()) {
        if (isAncestorOf(candidate) && candidate->isEnabled() && (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool Form::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) App().FormActivatedBySystem(this);
    return QWidget::event(event);
}

void Form::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const bool wasMaximized = static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMaximized;
    if (!wasMaximized || (windowState() & kNotNormal)) return;
    // Restored from maximised, the window manager would put the window back
    // at the size it was shown at: the whole work area, less a frame not
    // known then, which can leave the title bar off the screen. Instead it
    // comes back at its design size, centred. Queued, so that the request
    // reaches the window manager after its own restore.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!(windowState() & kNotNormal)) setGeometry(RestoredGeometry());
        },
        Qt::QueuedConnection);
}

void Form::closeEvent(QCloseEvent* event) {
    // The form decides for itself what closing means: hiding, or the end of
    // the program.
    event->ignore();
    App().Guard([this] { SystemCloseRequest(); });
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Resized on screen while maximised: the window manager has fitted the
    // window, and its frame, into the work area.
    if (isVisible() && (windowState() & Qt::WindowMaximized)) LastFrame() = FrameMargins(*this);
    Relayout();
}

}  // namespace app
