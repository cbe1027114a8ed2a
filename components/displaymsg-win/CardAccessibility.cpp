#include "components/displaymsg-win/CardAccessibility.h"

#include <map>
#include <vector>

#include "components/displaymsg-win/InprocServer.h"
#include "support/win32/AccessibleObject.h"

namespace talvane::displaymsg {

namespace {

constexpr char16_t kTimeLabel[] = u"时间：";
constexpr char16_t kCloseName[] = u"关闭";
constexpr char16_t kJump[] = u"跳转";
constexpr char16_t kPress[] = u"按下";

struct Part {
    std::u16string name;
    LONG role;
};

class CardObject final : public win::AccessibleObject {
  public:
    CardObject(HWND window, const AlertText& text, const RECT& closeBox)
        : window_(window), heading_(text.heading), closeBox_(closeBox) {
        // The module must stay loaded while a client holds the object.
        ++inproc::moduleLocks();
        const auto add = [this](const std::u16string& name, LONG role) {
            if (!name.empty()) parts_.push_back({name, role});
        };
        add(text.heading, ROLE_SYSTEM_STATICTEXT);
        add(text.title, text.link.empty() ? ROLE_SYSTEM_STATICTEXT : ROLE_SYSTEM_LINK);
        add(text.time.empty() ? std::u16string() : kTimeLabel + text.time, ROLE_SYSTEM_STATICTEXT);
        add(text.note, ROLE_SYSTEM_STATICTEXT);
        add(kCloseName, ROLE_SYSTEM_PUSHBUTTON);
    }

    void disconnect() { window_ = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return windowParent(window_, parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr) return E_POINTER;
        *count = LONG(parts_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        return part(child) != nullptr ? S_FALSE : E_INVALIDARG;  // simple elements
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (isSelf(child)) return text(name, heading_);
        const Part* p = part(child);
        return p != nullptr ? text(name, p->name) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) return E_POINTER;
        const Part* p = isSelf(child) ? nullptr : part(child);
        if (!isSelf(child) && p == nullptr) return E_INVALIDARG;
        *role = number(p != nullptr ? p->role : ROLE_SYSTEM_ALERT);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) return E_POINTER;
        const Part* p = isSelf(child) ? nullptr : part(child);
        if (!isSelf(child) && p == nullptr) return E_INVALIDARG;
        LONG bits = STATE_SYSTEM_READONLY;
        if (p != nullptr && p->role == ROLE_SYSTEM_LINK) bits |= STATE_SYSTEM_LINKED;
        *state = number(bits);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) return E_POINTER;
        VariantInit(focus);
        return S_FALSE;  // the card never takes the focus
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        const Part* p = part(child);
        if (p == nullptr) return isSelf(child) ? none(action) : E_INVALIDARG;
        if (p->role == ROLE_SYSTEM_LINK) return text(action, kJump);
        if (p->role == ROLE_SYSTEM_PUSHBUTTON) return text(action, kPress);
        return none(action);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (window_ == nullptr) return RPC_E_DISCONNECTED;
        const Part* p = part(child);
        if (!isSelf(child) && p == nullptr) return E_INVALIDARG;
        RECT box{};
        GetClientRect(window_, &box);
        if (p != nullptr && p->role == ROLE_SYSTEM_PUSHBUTTON) box = closeBox_;
        return location(window_, box, left, top, width, height);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override {
        if (end == nullptr) return E_POINTER;
        VariantInit(end);
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* at) override {
        if (at == nullptr) return E_POINTER;
        VariantInit(at);
        if (window_ == nullptr) return RPC_E_DISCONNECTED;
        const std::optional<POINT> inside = clientPoint(window_, x, y);
        if (!inside) return S_FALSE;
        *at = number(PtInRect(&closeBox_, *inside) ? LONG(parts_.size()) : CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (window_ == nullptr) return RPC_E_DISCONNECTED;
        const Part* p = part(child);
        if (p == nullptr || p->role == ROLE_SYSTEM_STATICTEXT) return DISP_E_MEMBERNOTFOUND;
        // The card's own click, posted as a press and its release: a primary
        // click away from the close mark opens the page, any other click
        // only closes.
        RECT client{};
        GetClientRect(window_, &client);
        const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
        const bool link = p->role == ROLE_SYSTEM_LINK;
        PostMessageW(window_, link ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0, centre);
        PostMessageW(window_, link ? WM_LBUTTONUP : WM_RBUTTONUP, 0, centre);
        return S_OK;
    }

  private:
    ~CardObject() override { --inproc::moduleLocks(); }

    const Part* part(const VARIANT& child) const {
        const LONG index = childIn(child, LONG(parts_.size()));
        return index > 0 ? &parts_[std::size_t(index - 1)] : nullptr;
    }

    HWND window_;
    std::u16string heading_;
    RECT closeBox_;
    std::vector<Part> parts_;
};

std::map<HWND, CardObject*>& objects() {
    static std::map<HWND, CardObject*> byWindow;
    return byWindow;
}

}  // namespace

bool answerCardObject(HWND window, const AlertText& text, const RECT& closeBox, WPARAM wParam,
                      LPARAM lParam, LRESULT& result) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return false;
    CardObject*& object = objects()[window];
    if (object == nullptr) object = new CardObject(window, text, closeBox);
    result = object->answer(wParam);
    return true;
}

void forgetCardObject(HWND window) {
    const auto it = objects().find(window);
    if (it == objects().end()) return;
    it->second->disconnect();
    it->second->Release();
    objects().erase(it);
}

}  // namespace talvane::displaymsg
