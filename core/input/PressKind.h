#pragma once

namespace talvane {

// Which press began a click: the system reports the second press of a
// double click on its own (a double-click event), and the faces say so.
enum class PressKind { Single, SecondOfDouble };

}  // namespace talvane
