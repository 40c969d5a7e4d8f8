#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

// Every test binary shares one QApplication. Test discovery runs the binary at build time,
// outside ctest's environment, so the offscreen platform is the default here too.
int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
