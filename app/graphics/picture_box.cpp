#include "app/graphics/picture_box.h"

#include <QMetaObject>
#include <QPainter>
#include <exception>

#include "app/application.h"
#include "app/graphics/canvas.h"
#include "app/layout.h"

namespace app {

PictureBox::PictureBox(QWidget* parent, Fit fit) : QWidget(parent), fit_(fit) {}

PictureBox::~PictureBox() {
    if (graphic_ != nullptr) graphic_->OnChange = nullptr;
}

void PictureBox::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    if (graphic_ != nullptr) graphic_->OnChange = nullptr;
    graphic_ = std::move(graphic);
    if (graphic_ != nullptr) graphic_->OnChange = [this](TObject*) { update(); };
    update();
}

void PictureBox::SetFit(Fit fit) {
    fit_ = fit;
    update();
}

void PictureBox::SetLayoutScale(double scale) {
    if (scale == scale_) return;
    scale_ = scale;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (graphic_ == nullptr) return;
    QPainter painter(this);
    TCanvas canvas(painter);
    try {
        if (fit_ == Fit::Stretch) {
            canvas.StretchDraw({0, 0, width(), height()}, graphic_.get());
        } else if (scale_ == 1.0) {
            canvas.Draw(0, 0, graphic_.get());
        } else {
            canvas.StretchDraw(
                {0, 0, ScaleLength(graphic_->PixelWidth(), scale_), ScaleLength(graphic_->PixelHeight(), scale_)},
                graphic_.get());
        }
    } catch (...) {
        // A picture that fails to draw is reported like any failed handler,
        // but after the paint, so that no dialog opens in the middle of it.
        QMetaObject::invokeMethod(
            this, [error = std::current_exception()] { App().Guard([&] { std::rethrow_exception(error); }); },
            Qt::QueuedConnection);
    }
}

}  // namespace app
