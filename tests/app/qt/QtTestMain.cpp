// GoogleTest entry point with an application object, which pixmaps and
// widgets need; the offscreen platform unless the caller chose another.
#include <QApplication>

#include <gtest/gtest.h>

#include "artwork/Artwork.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    talvane::artwork::installFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
