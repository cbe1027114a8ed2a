#include "app/win/PanelAccessible.h"

#include <cmath>
#include <optional>
#include <vector>

#include "app/AccessibleElements.h"
#include "app/PanelDesign.h"
#include "app/frmMain.h"
#include "app/win/PanelKeyboard.h"
#include "support/win32/AccessibleObject.h"

namespace talvane {

// The default action runs from the window's own messages: the call comes
// from another process, which waits for the answer, and opening a page can
// hold the thread for seconds.
constexpr UINT kDefaultActionMessage = WM_APP + 0x20;

namespace {

WPARAM packId(ElementId id) {
    return (static_cast<WPARAM>(id.name) << 8) | static_cast<std::uint8_t>(id.index);
}

ElementId unpackId(WPARAM packed) {
    return {static_cast<ElementName>((packed >> 8) & 0xFF),
            static_cast<std::int16_t>(static_cast<std::int8_t>(packed & 0xFF))};
}

// MSAA's names of the default actions, in the users' language.
constexpr char16_t kJump[] = u"跳转";
constexpr char16_t kPress[] = u"按下";

LONG msaaRole(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::Link:
            return ROLE_SYSTEM_LINK;
        case AccessibleRole::Button:
            return ROLE_SYSTEM_PUSHBUTTON;
        case AccessibleRole::StaticText:
            break;
    }
    return ROLE_SYSTEM_STATICTEXT;
}

}  // namespace

// The panel window's client area. Its children are simple elements (no
// objects of their own) numbered by their place in the reading order; the
// list is read anew on every call, so what a client hears is what is shown.
class PanelAccessibleObject final : public win::AccessibleObject {
  public:
    PanelAccessibleObject(HWND hwnd, frmMain& form, const PanelKeyboard& keyboard)
        : hwnd_(hwnd), form_(&form), keyboard_(&keyboard) {}

    void disconnect() { form_ = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return windowParent(form_ != nullptr ? hwnd_ : nullptr, parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr) return E_POINTER;
        if (form_ == nullptr) return RPC_E_DISCONNECTED;
        *count = static_cast<LONG>(shown().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (form_ == nullptr) return RPC_E_DISCONNECTED;
        return element(child) ? S_FALSE : E_INVALIDARG;  // simple elements
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (form_ == nullptr) return RPC_E_DISCONNECTED;
        if (isSelf(child)) return text(name, kFormCaption);
        const auto e = element(child);
        return e ? text(name, e->name) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) return E_POINTER;
        if (form_ == nullptr) return RPC_E_DISCONNECTED;
        if (isSelf(child)) {
            *role = number(ROLE_SYSTEM_CLIENT);
            return S_OK;
        }
        const auto e = element(child);
        if (!e) return E_INVALIDARG;
        *role = number(msaaRole(e->role));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) return E_POINTER;
        if (form_ == nullptr) return RPC_E_DISCONNECTED;
        const bool windowFocused = GetFocus() == hwnd_;
        if (isSelf(child)) {
            *state =
                number(STATE_SYSTEM_FOCUSABLE |
                       (windowFocused && keyboard_->focusedRow() < 0 ? STATE_SYSTEM_FOCUSED : 0));
            return S_OK;
        }
        const auto e = element(child);
        if (!e) return E_INVALIDARG;
        LONG bits = STATE_SYSTEM_READONLY;
        if (e->role == AccessibleRole::Link) bits |= STATE_SYSTEM_LINKED;
        if (e->id.name == ElementName::lblList) {
            bits |= STATE_SYSTEM_FOCUSABLE;
            if (windowFocused && keyboard_->focusedRow() == e->id.index) {
                bits |= STATE_SYSTEM_FOCUSED;
            }
        }
        *state = number(bits);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) return E_POINTER;
        VariantInit(focus);
        if (form_ == nullptr) return RPC_E_DISCONNECTED;
        if (GetFocus() != hwnd_) return S_FALSE;
        const int row = keyboard_->focusedRow();
        const LONG id =
            row >= 0 ? AccessibleChildId(form_->model(),
                                         {ElementName::lblList, static_cast<std::int16_t>(row)})
                     : CHILDID_SELF;
        *focus = number(id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (form_ == nullptr) return RPC_E_DISCONNECTED;
        if (isSelf(child)) return none(action);
        const auto e = element(child);
        if (!e) return E_INVALIDARG;
        switch (e->role) {
            case AccessibleRole::Link:
                return text(action, kJump);
            case AccessibleRole::Button:
                return text(action, kPress);
            case AccessibleRole::StaticText:
                break;
        }
        return none(action);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (form_ == nullptr) return RPC_E_DISCONNECTED;
        RECT box{};
        if (isSelf(child)) {
            GetClientRect(hwnd_, &box);
        } else if (const auto e = element(child)) {
            box = pixelBox(form_->model().at(e->id.name, e->id.index).rect);
        } else {
            return E_INVALIDARG;
        }
        return location(hwnd_, box, left, top, width, height);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) return E_POINTER;
        VariantInit(end);
        if (form_ == nullptr) return RPC_E_DISCONNECTED;
        const LONG count = static_cast<LONG>(shown().size());
        const LONG from = isSelf(start) ? CHILDID_SELF : start.lVal;
        LONG to = 0;
        if (direction == NAVDIR_FIRSTCHILD && from == CHILDID_SELF) to = 1;
        if (direction == NAVDIR_LASTCHILD && from == CHILDID_SELF) to = count;
        if (from != CHILDID_SELF && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN)) {
            to = from + 1;
        }
        if (from != CHILDID_SELF && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP)) {
            to = from - 1;
        }
        if (to < 1 || to > count) return S_FALSE;
        *end = number(to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* at) override {
        if (at == nullptr) return E_POINTER;
        VariantInit(at);
        if (form_ == nullptr) return RPC_E_DISCONNECTED;
        const std::optional<POINT> inside = clientPoint(hwnd_, x, y);
        if (!inside) return S_FALSE;
        const POINT p = *inside;
        const float twipsPerPixel = 1440.0f / static_cast<float>(GetDpiForWindow(hwnd_));
        const Element* hit = form_->model().hitTest(static_cast<float>(p.x) * twipsPerPixel,
                                                    static_cast<float>(p.y) * twipsPerPixel);
        *at = number(hit != nullptr ? AccessibleChildId(form_->model(), hit->id) : CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (form_ == nullptr) return RPC_E_DISCONNECTED;
        const auto e = element(child);
        if (!e || e->role == AccessibleRole::StaticText) return DISP_E_MEMBERNOTFOUND;
        PostMessageW(hwnd_, kDefaultActionMessage, packId(e->id), 0);
        return S_OK;
    }

  private:
    std::vector<AccessibleElement> shown() const { return AccessibleElements(form_->model()); }

    std::optional<AccessibleElement> element(const VARIANT& child) const {
        if (child.vt != VT_I4 || child.lVal < 1) return std::nullopt;
        auto elements = shown();
        if (child.lVal > static_cast<LONG>(elements.size())) return std::nullopt;
        return std::move(elements[static_cast<std::size_t>(child.lVal - 1)]);
    }

    RECT pixelBox(const TwipRect& rect) const {
        const float perTwip = static_cast<float>(GetDpiForWindow(hwnd_)) / 1440.0f;
        const auto px = [perTwip](float twips) {
            return static_cast<LONG>(std::lround(twips * perTwip));
        };
        return {px(rect.left), px(rect.top), px(rect.right()), px(rect.bottom())};
    }

    HWND hwnd_;
    frmMain* form_;
    const PanelKeyboard* keyboard_;
};

PanelAccessibility::PanelAccessibility() = default;
PanelAccessibility::~PanelAccessibility() { detach(); }

void PanelAccessibility::attach(HWND hwnd, frmMain& form, const PanelKeyboard& keyboard) {
    hwnd_ = hwnd;
    form_ = &form;
    detach();
    object_.Attach(new PanelAccessibleObject(hwnd, form, keyboard));
}

void PanelAccessibility::detach() {
    if (object_) object_->disconnect();
    object_.Reset();
}

bool PanelAccessibility::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT && object_) {
        result = object_->answer(wParam);
        return true;
    }
    if (message == kDefaultActionMessage && object_) {
        form_->elementClick(unpackId(wParam));
        result = 0;
        return true;
    }
    return false;
}

LONG AccessibleChildId(const PanelModel& model, ElementId id) {
    const auto elements = AccessibleElements(model);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].id == id) return static_cast<LONG>(i + 1);
    }
    return CHILDID_SELF;
}

void NotifyPanelFocus(HWND hwnd, const PanelModel& model, int row) {
    const LONG child =
        AccessibleChildId(model, {ElementName::lblList, static_cast<std::int16_t>(row)});
    NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, child);
}

}  // namespace talvane
