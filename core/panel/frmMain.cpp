#include "app/frmMain.h"

#include "app/FormShape.h"
#include "app/LayoutRows.h"
#include "app/PanelDesign.h"
#include "app/RowDisplay.h"
#include "service/EventList.h"
#include "service/PollTimer.h"
#include "service/Reminders.h"
#include "service/VisitReport.h"
#include "settings/ClientNumber.h"
#include "settings/mdlINI.h"
#include "web/ServicePages.h"

namespace talvane {

namespace {

constexpr int kMenuOpen = 0;
constexpr int kMenuExit = 2;
constexpr int kLeftButton = 1;

bool isRowIndex(int index) { return index >= 0 && index < RowTable::kRows; }

class AlwaysAccepts : public Presence {
  public:
    bool acceptsNotifications() const override { return true; }
};

const Presence& PresenceOrAlways(const Presence* presence) {
    static const AlwaysAccepts always;
    return presence != nullptr ? *presence : always;
}

}  // namespace

frmMain::frmMain(FormServices services)
    : services_(std::move(services)),
      service_{services_.http, services_.codePage, services_.random, services_.serviceBaseUrl},
      model_(CreatePanelDesign()),
      reminderHold_(PresenceOrAlways(services_.presence)) {
    // The tray component's stored properties; the icon itself only appears
    // when start-up switches it on, so a second instance never shows one.
    services_.tray.setTooltip(kFormCaption);
    services_.tray.onButton = [this](TrayButton button) { cSysTray1_TrayMouse(button); };
    // A later start asks for the panel instead of opening a second one.
    services_.instance.onShowRequest = [this] { frmOpen_Click(); };
}

bool frmMain::Form_Load() {
    if (services_.instance.earlierInstanceRunning()) {
        services_.instance.askEarlierInstanceToShow();
        return false;
    }
    SetFrameStyle(false);
    DoTransparency();
    state_.ReminderTicks = 0;
    state_.VisitTicks = 0;
    state_.EventPayload.clear();
    AppWindow& window = services_.window;
    window.moveTo(PanelLeftTwips(window.screen().widthTwips), kPanelTopTwips);
    LoadClientNumber();
    SendVisit();
    LayoutRows();
    window.setWindowState(WindowState::Minimized);
    services_.tray.setShown(true);
    ClearRows();
    LoadEventList();
    ShowRows();
    window.setVisible(false);
    flushDamage();
    return true;
}

void frmMain::SetFrameStyle(bool withFrame) {
    AppWindow& window = services_.window;
    window.setFrame(FrameWith(window.frame(), withFrame));
}

void frmMain::DoTransparency() {
    AppWindow& window = services_.window;
    const ScreenMetrics screen = window.screen();
    window.setVisibleArea(TransparencyRegion(screen.twipsPerPixelX, screen.twipsPerPixelY));
}

void frmMain::LoadClientNumber() {
    const SettingsContext settings{services_.settings, services_.codePage, services_.paths};
    talvane::LoadClientNumber(state_.sysNumber, settings, services_.clock, services_.random);
}

void frmMain::SendVisit() { talvane::SendVisit(service_, state_.sysNumber); }

void frmMain::LayoutRows() { talvane::LayoutRows(model_); }

void frmMain::ClearRows() { talvane::ClearRows(state_.rows); }

void frmMain::LoadEventList() {
    FetchEventPayload(service_, state_.EventPayload);
    if (state_.EventPayload.empty()) {
        return;
    }
    const EventListResult result = ParseEventList(state_.EventPayload, services_.serviceBaseUrl,
                                                  state_.sysNumber, state_.rows);
    if (result.footerCaption) {
        model_.setCaption(ElementName::lblBottom1, -1, *result.footerCaption);
        model_.setCaption(ElementName::lblBottom2, -1, *result.footerCaption);
    }
}

void frmMain::ShowRows() { talvane::ShowRows(model_, state_.rows); }

void frmMain::CheckReminders() {
    talvane::CheckReminders(service_, state_.sysNumber, services_.components, this, &reminderHold_);
}

std::u16string frmMain::getTitle(std::u16string& title) { return talvane::getTitle(title); }

bool frmMain::knowIfVisitPage() { return talvane::knowIfVisitPage(services_.clock); }

std::u16string frmMain::serviceBaseUrl() const { return services_.serviceBaseUrl; }

void frmMain::Timer1_Timer() {
    // A reminder held back while the user presented comes at the first tick
    // after, whatever the office hours say by then: it was due when it came.
    if (const auto waiting = reminderHold_.release()) {
        talvane::ShowReminder(*waiting, state_.sysNumber, services_.components, this);
    }
    const TickActions actions{
        [this] { return knowIfVisitPage(); },
        [this] { CheckReminders(); },
        [this] { SendVisit(); },
    };
    talvane::Timer1_Timer(state_.ReminderTicks, state_.VisitTicks, actions);
}

// ---- pointer input -------------------------------------------------------

void frmMain::pointerMove(float x, float y, int /*button*/, int /*shift*/) {
    RouteMouseMove(model_, x, y);
    flushDamage();
}

void frmMain::pointerDown(float x, float y, int button, int /*shift*/, PressKind kind) {
    if (model_.hitTest(x, y) == nullptr) {
        // The system's move loop takes the button and its release.
        press_.lose();
        Form_MouseDown();
        return;
    }
    if (button == kLeftButton) {
        press_.press(button, kind, {x, y});
    }
}

void frmMain::pointerUp(float x, float y, int button) {
    const std::optional<TwipPoint> press = press_.release(button);
    if (!press) {
        return;
    }
    const Element* pressed = model_.hitTest(press->x, press->y);
    const Element* released = model_.hitTest(x, y);
    if (pressed != nullptr && pressed == released) {
        routeClick(*pressed);
    }
    flushDamage();
}

void frmMain::pointerDoubleClick(int button) { press_.markSecondOfDouble(button); }

void frmMain::pointerCaptureLost() { press_.lose(); }

PointerShape frmMain::pointerShapeAt(float x, float y) const {
    const Element* element = model_.hitTest(x, y);
    return element != nullptr ? element->pointer : PointerShape::Arrow;
}

void frmMain::routeClick(const Element& element) {
    const int index = element.id.index;
    switch (element.id.name) {
        case ElementName::lblList:
            lblList_Click(index);
            break;
        case ElementName::lblReg:
            lblReg_Click(index);
            break;
        case ElementName::lblTime:
            lblTime_Click(index);
            break;
        case ElementName::Image1:
            Image1_Click();
            break;
        case ElementName::lblBottom1:
            lblBottom1_Click();
            break;
        case ElementName::lblBottom2:
            lblBottom2_Click();
            break;
        case ElementName::imgClose:
            imgClose_Click();
            break;
        case ElementName::imgMini:
            imgMini_Click();
            break;
        default:
            break;  // elements without a click handler swallow the click
    }
}

void frmMain::elementClick(ElementId id) {
    if (!IsValidElementId(id.name, id.index)) {
        return;
    }
    routeClick(model_.at(id.name, id.index));
    flushDamage();
}

void frmMain::flushDamage() {
    if (!model_.hasDamage()) {
        return;
    }
    for (const TwipRect& rect : model_.takeDamage()) {
        services_.window.repaint(rect);
    }
}

// ---- window handling -----------------------------------------------------

void frmMain::Form_MouseDown() { services_.window.startSystemMove(); }

void frmMain::Form_MouseMove() {
    talvane::Form_MouseMove(model_);
    flushDamage();
}

void frmMain::Form_Resize() {}

void frmMain::imgClose_Click() {
    AppWindow& window = services_.window;
    window.setWindowState(WindowState::Minimized);
    services_.tray.setShown(true);
    // With no tray host a hidden panel could never be brought back: it stays
    // minimised in the desktop's window list instead.
    window.setVisible(!services_.tray.hostAvailable() ||
                      window.windowState() != WindowState::Minimized);
}

void frmMain::imgMini_Click() {
    services_.window.setWindowState(WindowState::Minimized);
    services_.window.setVisible(true);
}

void frmMain::cSysTray1_TrayMouse(TrayButton button) {
    AppWindow& window = services_.window;
    if (button == TrayButton::Right) {
        switch (services_.tray.showMenu(mnuTray())) {
            case kMenuOpen:
                frmOpen_Click();
                break;
            case kMenuExit:
                frmClose_Click();
                break;
            default:
                break;
        }
        return;
    }
    window.setWindowState(WindowState::Normal);
    window.setVisible(false);
    services_.tray.setShown(true);
    window.showModeless();
}

void frmMain::frmOpen_Click() {
    AppWindow& window = services_.window;
    window.setWindowState(WindowState::Normal);
    window.setVisible(true);
    services_.tray.setShown(true);
    window.showModeless();
}

void frmMain::ShowPanelWithoutTrayHost() {
    if (!services_.tray.hostAvailable()) {
        frmOpen_Click();
    }
}

void frmMain::frmClose_Click() { services_.window.unload(); }

std::vector<MenuItem> frmMain::mnuTray() { return {{u"打开(&F)"}, {u"-"}, {u"退出(&E)"}}; }

// ---- links ---------------------------------------------------------------

std::u16string frmMain::PortalUrl() const {
    return PortalPageAddress(services_.serviceBaseUrl, state_.sysNumber);
}

void frmMain::openAddress(const std::u16string& url) {
    // A row without an event has no address; an opener handed "" would at
    // best do nothing and at worst open a file manager.
    if (!url.empty()) {
        services_.opener.open(url);
    }
}

void frmMain::lblList_Click(int index) {
    if (isRowIndex(index)) openAddress(state_.rows.RowViewUrl[index]);
}

void frmMain::lblReg_Click(int index) {
    if (isRowIndex(index)) openAddress(state_.rows.RowViewUrl[index]);
}

void frmMain::lblTime_Click(int index) {
    if (isRowIndex(index)) openAddress(state_.rows.RowTimeUrl[index]);
}

void frmMain::Image1_Click() { openAddress(PortalUrl()); }

void frmMain::lblBottom1_Click() { openAddress(PortalUrl()); }

void frmMain::lblBottom2_Click() { openAddress(PortalUrl()); }

}  // namespace talvane
