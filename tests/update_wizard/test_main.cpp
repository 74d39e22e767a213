#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The window tests run without a display, also when the test list is
    // read at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The test server is on 127.0.0.1; a proxy of the machine must not
    // stand in between.
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
