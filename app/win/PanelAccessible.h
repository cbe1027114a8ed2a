#pragma once

#include <windows.h>
// after windows.h
#include <oleacc.h>
#include <wrl/client.h>

#include "app/Element.h"

namespace talvane {

class frmMain;
class PanelKeyboard;
class PanelModel;
class PanelAccessibleObject;

// What a screen reader reads of the panel window: an MSAA IAccessible
// whose children are the elements AccessibleElements lists, with their
// names, roles, states and places, and the element's click as the default
// action. MSAA rather than a UI Automation provider: Windows bridges MSAA to
// UI Automation for clients that speak only that, and a window of
// hand-painted, windowless elements needs nothing MSAA lacks.
class PanelAccessibility {
  public:
    PanelAccessibility();
    ~PanelAccessibility();
    PanelAccessibility(const PanelAccessibility&) = delete;
    PanelAccessibility& operator=(const PanelAccessibility&) = delete;

    // form and keyboard must outlive the window's messages.
    void attach(HWND hwnd, frmMain& form, const PanelKeyboard& keyboard);

    // WM_GETOBJECT, and the default action it posts to itself; true when
    // the message was this object's.
    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The window is going: clients still holding the object get
    // "disconnected" from then on.
    void detach();

  private:
    HWND hwnd_ = nullptr;
    frmMain* form_ = nullptr;
    Microsoft::WRL::ComPtr<PanelAccessibleObject> object_;
};

// MSAA's child id of an element: its place in the reading order, from 1;
// CHILDID_SELF when it is not shown.
LONG AccessibleChildId(const PanelModel& model, ElementId id);

// Tells screen readers that the title of row has the keyboard focus.
void NotifyPanelFocus(HWND hwnd, const PanelModel& model, int row);

}  // namespace talvane
