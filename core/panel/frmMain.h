#pragma once

#include <string>
#include <vector>

#include "app/PanelModel.h"
#include "components/FormObject.h"
#include "input/PressCapture.h"
#include "input/PressKind.h"
#include "platform/AppPaths.h"
#include "platform/AppWindow.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/HttpClient.h"
#include "platform/InstanceLock.h"
#include "platform/Opener.h"
#include "platform/PopupComponents.h"
#include "platform/Presence.h"
#include "platform/Random.h"
#include "platform/SettingsStore.h"
#include "platform/Tray.h"
#include "service/ModulePublic.h"
#include "service/ReminderHold.h"
#include "service/ServiceContext.h"

namespace talvane {

// Everything the window needs from outside; one face (Qt, Win32, tests)
// provides it.
struct FormServices {
    InstanceLock& instance;
    AppWindow& window;
    Tray& tray;
    Opener& opener;
    SettingsStore& settings;
    const CodePage& codePage;
    const AppPaths& paths;
    const Clock& clock;
    Random& random;
    HttpClient& http;
    PopupComponents& components;
    std::u16string serviceBaseUrl;
    // Whether a reminder card may appear now; without one, always.
    const Presence* presence = nullptr;
};

// The notifier window: start-up, the panel's element model and every
// handler. Faces only forward input (pointer positions in twips) and draw
// the model.
class frmMain : public FormObject {
  public:
    explicit frmMain(FormServices services);

    // Runs the start-up sequence. false when an earlier instance runs and
    // the process must end at once.
    bool Form_Load();

    // Pointer input from the face, in twips relative to the window; button
    // codes 1 (left), 2 (right), 4 (middle). A face captures the pointer
    // from a press to its release, so that moves and the release arrive
    // wherever the pointer goes, and reports a capture it loses.
    void pointerMove(float x, float y, int button, int shift);
    void pointerDown(float x, float y, int button, int shift, PressKind kind = PressKind::Single);
    // A left press and its release on the same element click it. The
    // elements have click handlers only: the second press of a double
    // click is the double click's, so it opens nothing and leaves the panel
    // alone.
    void pointerUp(float x, float y, int button);
    // The press just reported is a double click's second, for systems that
    // announce the double click after the press.
    void pointerDoubleClick(int button);
    void pointerCaptureLost();
    PointerShape pointerShapeAt(float x, float y) const;

    void Form_MouseDown();
    void Form_MouseMove();
    void Form_Resize();
    void imgClose_Click();
    void imgMini_Click();
    void cSysTray1_TrayMouse(TrayButton button);
    void frmOpen_Click();
    void frmClose_Click();
    void Timer1_Timer();
    // Run once, a while after start-up: on a desktop without a tray host
    // the panel is shown, as 打开 would, so that the program can be found.
    void ShowPanelWithoutTrayHost();

    // The click of the element's handler, for activation without a pointer
    // (keyboard, assistive technology); an element without one does nothing.
    void elementClick(ElementId id);

    void lblList_Click(int index);
    void lblReg_Click(int index);
    void lblTime_Click(int index);
    void Image1_Click();
    void lblBottom1_Click();
    void lblBottom2_Click();

    // The window object handed to popup components.
    void DoTransparency() override;
    std::u16string getTitle(std::u16string& title) override;
    bool knowIfVisitPage() override;
    std::u16string serviceBaseUrl() const override;

    static std::vector<MenuItem> mnuTray();
    std::u16string PortalUrl() const;

    const PanelModel& model() const { return model_; }
    const ModulePublic& state() const { return state_; }

  private:
    void SetFrameStyle(bool withFrame);
    void LoadClientNumber();
    void SendVisit();
    void LayoutRows();
    void ClearRows();
    void LoadEventList();
    void ShowRows();
    void CheckReminders();
    void openAddress(const std::u16string& url);
    void routeClick(const Element& element);
    void flushDamage();

    FormServices services_;
    // Built once: every request to the service goes through it.
    ServiceContext service_;
    PanelModel model_;
    ModulePublic state_;
    PressCapture press_;
    ReminderHold reminderHold_;
};

}  // namespace talvane
