// Test main for the unit test programs: a Qt application on the offscreen platform stands in
// for the host's, so fonts and pictures (and, where the layer has them, widgets) behave as
// inside a host. Layers without widgets get a QGuiApplication and no Qt Widgets at all.
#ifdef VS_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
