#include "platform/Form.h"

#include "platform/QtText.h"
#include "platform/Twips.h"

#include <QWidget>

namespace platform {

struct Form::Impl {
    QWidget widget;
};

Form::Form() : impl_(std::make_unique<Impl>()) {}
Form::~Form() = default;

void Form::SetCaption(const std::string& caption) {
    impl_->widget.setWindowTitle(ToQString(caption));
}
std::string Form::Caption() const {
    return FromQString(impl_->widget.windowTitle());
}

void Form::Resize(int widthTwips, int heightTwips) {
    impl_->widget.resize(PixelsFromTwipsX(widthTwips), PixelsFromTwipsY(heightTwips));
}

void Form::Show() {
    impl_->widget.show();
}
void Form::Hide() {
    impl_->widget.hide();
}
bool Form::Visible() const {
    return impl_->widget.isVisible();
}

} // namespace platform
