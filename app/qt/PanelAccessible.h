#pragma once

namespace talvane {

class PanelView;

// Makes the hand-painted panel readable by assistive technology: the panel
// window and, as its children, the elements AccessibleElements lists, each
// with its role, name and (links and buttons) the press action that clicks
// it. Installs itself for PanelView once; safe to call again.
void InstallPanelAccessibility();

// Tells assistive technology that the keyboard focus moved to another row.
void NotifyPanelFocusMoved(PanelView& view);

}  // namespace talvane
