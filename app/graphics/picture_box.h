#pragma once

#include <QWidget>
#include <memory>

#include "app/form.h"
#include "app/graphics/graphic.h"

namespace app {

// The picture box control: shows one picture, stretched to the whole box or
// at its natural size from the top-left corner, clipped to the box. The
// natural size follows the layout's scale: one picture pixel to one design
// pixel.
class PictureBox : public QWidget, public LayoutScaled {
public:
    enum class Fit { Stretch, Natural };

    explicit PictureBox(QWidget* parent = nullptr, Fit fit = Fit::Stretch);
    ~PictureBox() override;

    // The box owns the picture and repaints whenever the picture changes.
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    TGraphic* Graphic() const { return graphic_.get(); }

    void SetFit(Fit fit);
    Fit CurrentFit() const { return fit_; }

    void SetLayoutScale(double scale) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<TGraphic> graphic_;
    Fit fit_;
    double scale_ = 1.0;
};

}  // namespace app
