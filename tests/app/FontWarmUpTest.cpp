#include "app/FontWarmUp.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <stdexcept>

namespace movik {
namespace {

// Start-up that fails must still join the fonts' thread: a thread left joinable when its owner
// is destroyed ends the program (std::terminate) instead of letting the error be reported.
// The declarations follow the program's start-up: the fonts, the application, the join.
void StartUpThatThrows(bool applicationMade) {
    FontWarmUp fonts;
    if (!applicationMade) {
        throw std::runtime_error("before the application");
    }
    int argc = 1;
    char name[] = "movik";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const FontWarmUp::Joined joined = fonts.ApplicationReady();
    throw std::runtime_error("after the application");
}

TEST(FontWarmUp, StartUpThatThrowsJoinsTheThreadOnEveryPath) {
    for (const bool applicationMade : {false, true}) {
        SCOPED_TRACE(applicationMade);
        EXPECT_THROW(StartUpThatThrows(applicationMade), std::runtime_error);
    }
}

}  // namespace
}  // namespace movik
