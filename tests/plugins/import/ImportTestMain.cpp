// The importer window needs a QApplication; the tests run on the offscreen platform. The window
// code is compiled into the suite, so the suite stands in for the SDK's quit flag.
#include <gtest/gtest.h>

#include <QApplication>
#include <atomic>

#include "ImportTestSupport.h"

namespace vlt::import::test {
std::atomic<std::int32_t> quitFlag{0};
}

std::int32_t Plugin_QuitRequested() {
    return vlt::import::test::quitFlag.load();
}

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
