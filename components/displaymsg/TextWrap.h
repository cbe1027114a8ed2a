#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace talvane::displaymsg {

// text broken into lines no wider than width, at word boundaries where it
// can and anywhere where it must; at most maxLines lines, the last one
// ending in an ellipsis when the text goes on. Needs a QGuiApplication.
QStringList wrapText(const QString& text, const QFont& font, int width, int maxLines);

}  // namespace talvane::displaymsg
