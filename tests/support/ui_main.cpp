#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char* argv[])
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
