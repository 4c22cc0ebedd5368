// Test entry point for tests that need widgets: one application object for the run.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <QStyleFactory>

#include "platform/ProgramFonts.h"

int main(int argc, char** argv) {
    // Widgets are tested headless, also when CTest lists the tests.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The fonts the program itself reads, so the tests see the faces it shows.
    if (!platform::useProgramFonts()) {
        std::fputs("The program's fonts are not all installed (scripts/setup.sh installs them).\n", stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
