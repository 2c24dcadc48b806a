// The main of every test program: a QApplication (headless under QT_QPA_PLATFORM=offscreen)
// so window tests can build real widgets, numbers in the C locale as in the program, and the
// program's folder set to the test program's folder, where the build copies the data.

#include "services/base/program_folder.h"
#include "testsupport/test_paths.h"

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    sw::setProgramFolder(sw::test::runtimeDir());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
