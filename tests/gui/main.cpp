#include <gtest/gtest.h>

#include <QApplication>

// Window tests need a QApplication before the first widget. They run
// headless: the offscreen platform unless the caller chose another (test
// discovery runs this program without the test environment).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
