#include "platform/InputEvent.h"

#include "platform/Seams.h"

namespace plat {

namespace {

InputTap* gTap = nullptr;

bool callMouse(const std::function<void(int, int, float, float)>& handler, const InputEvent& e) {
    if (!handler) return false;
    handler(e.button, e.shift, e.x, e.y);
    return true;
}

} // namespace

InputTap* setInputTap(InputTap* tap) {
    InputTap* old = gTap;
    gTap = tap;
    return old;
}

Control* findControl(const Form& form, const std::string& name, int index) {
    for (Control* c : form.controls()) {
        if (c->name == name && c->index == index) return c;
    }
    return nullptr;
}

bool deliver(Form& form, const InputEvent& event, IWindowSystem* windows) {
    if (gTap != nullptr && !gTap->passes(form, event)) return false;
    return applyInput(form, event, windows);
}

bool applyInput(Form& form, const InputEvent& e, IWindowSystem* windows) {
    switch (e.kind) {
    case InputKind::FormMouseMove: return callMouse(form.onMouseMove, e);
    case InputKind::KeyDown: return form.onKeyDown && form.onKeyDown(e.button, e.shift);
    case InputKind::Close: return windows != nullptr && windows->unload(form);
    default: break;
    }
    Control* c = findControl(form, e.control, e.index);
    if (c == nullptr) return false;
    switch (e.kind) {
    case InputKind::MouseDown: return callMouse(c->onMouseDown, e);
    case InputKind::MouseMove: return callMouse(c->onMouseMove, e);
    case InputKind::MouseUp: return callMouse(c->onMouseUp, e);
    case InputKind::Click:
        if (c->kind == ControlKind::CheckBox && e.value >= 0) {
            static_cast<CheckBox&>(*c).value = e.value;
        } else if (c->kind == ControlKind::OptionButton) {
            // Option buttons sharing a container exclude each other.
            for (Control* other : form.controls()) {
                if (other->kind == ControlKind::OptionButton && other->container == c->container)
                    static_cast<OptionButton&>(*other).value = other == c;
            }
        }
        if (c->onClick) c->onClick();
        return true;
    default: return false;
    }
}

} // namespace plat
