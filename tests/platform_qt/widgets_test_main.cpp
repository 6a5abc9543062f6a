// GoogleTest's entry with a widgets application that speaks Russian, as the program does.
#include "platform/translations.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest does it without the tests' environment) needs no window system.
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    // These tests never need a screen; run by hand, they stay offscreen too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (!qb::platform::installRussianTranslations(app)) {
        std::fprintf(stderr, "Qt's Russian translation is not installed\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
