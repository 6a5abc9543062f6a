// Window tests run the real main window offscreen; they need one application object.
#include "offscreen_app.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qb::test::prepareOffscreenApp();
    QApplication app(argc, argv);
    qb::test::configureOffscreenApp(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
