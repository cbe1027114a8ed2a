#pragma once

// Shared by talvane.rc and the code that loads the resources. The panel's
// PNG pictures are RCDATA resources named after their files
// ("BACKGROUND_150" for art/background-150.png).
#define IDI_TALVANE 1
#define IDC_HAND_POINTER 2
