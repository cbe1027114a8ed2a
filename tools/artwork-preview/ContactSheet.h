#pragma once

#include <QImage>
#include <QPixmap>

namespace talvane::preview {

// The small pictures (arrows, badge, hand cursor) enlarged with hard pixel
// edges on a checkerboard, so that their pixel fit can be judged.
QImage zoomSheet(qreal dpr);

// The application icon at every size, at natural size and enlarged, on a
// light and on a dark tray.
QImage iconSheet();

// A composed panel on a desktop-like backdrop, so its rounded corners and
// edge can be judged against something.
QImage onDesktop(const QPixmap& panel);

}  // namespace talvane::preview
