#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/layout.h"

class QAbstractButton;
class QLabel;

namespace app {

// Title-bar buttons of a form.
struct BorderIcons {
    bool close = true;
    bool minimize = true;
    bool maximize = true;
};

// How a control follows the form's size.
enum class Anchor {
    Centre,   // keeps its size; its centre keeps its fraction of the client area
    TopLeft,  // keeps its design position
};

// A control that draws its content at the layout's scale, not only within
// a box of the scaled size.
class LayoutScaled {
public:
    virtual void SetLayoutScale(double scale) = 0;

protected:
    ~LayoutScaled() = default;
};

// A top-level window with a design client area, whose controls are placed
// by the layout rule whenever the form's size changes.
class Form : public QWidget {
    Q_OBJECT

public:
    Form(const QString& caption, Size designClient, BorderIcons icons = {}, bool visible = true);
    ~Form() override;

    void Show();
    void Hide();
    // Runs the close handler; the main form then ends the program, any other
    // form is hidden.
    void Close();

    bool VisibleAtCreation() const { return visibleAtCreation_; }
    Size DesignClient() const { return designClient_; }
    // Marks the moment the form last appeared, for telling input aimed at
    // it from input aimed at the form before it.
    std::uint64_t ShowMark() const { return showMark_; }

    // Handlers; the defaults do nothing.
    virtual void FormCreate() {}
    virtual void FormActivate() {}
    virtual void FormClose() {}
    // A close request from the window system (close box, system menu, the
    // keyboard's close command); by default the same as Close().
    virtual void SystemCloseRequest() { Close(); }

protected:
    // Registers a control with its design rectangle (96 dpi, design client
    // coordinates); its font as it stands now is its design font.
    void Place(QWidget* control, const Rect& design, Anchor anchor = Anchor::Centre);
    // A label whose width follows its text, growing to the right.
    void PlaceGrowingRight(QLabel* label, const Rect& design);
    void OnClick(QAbstractButton* button, std::function<void()> handler);
    void SetBackground(const QColor& colour);

    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Placement {
        QPointer<QWidget> control;
        Rect design;
        int fontPixels;
        Anchor anchor;
        bool growsRight;
    };

    void Relayout();
    void AddPlacement(const Placement& placement);
    void PlaceOne(const Placement& placement, Size client);
    void FillWorkArea();
    QRect RestoredGeometry() const;
    void FocusFirstControl();

    Size designClient_;
    bool visibleAtCreation_;
    double scale_ = 1.0;
    std::uint64_t showMark_ = 0;
    std::vector<Placement> placements_;
};

}  // namespace app
