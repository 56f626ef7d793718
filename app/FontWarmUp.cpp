#include "app/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <QStringList>
#include <system_error>

#include "ui/StartupTrace.h"

namespace movik {

// Fontconfig and Qt's font database are thread-safe: the main thread finds the work done, or
// waits for it, or (for fontconfig) loads its own configuration and the one made here is dropped.
FontWarmUp::FontWarmUp() {
    try {
        thread_ = std::thread([ready = applicationReady_.get_future()]() mutable {
            FcInit();
            StartupMark("fontconfig read");
            if (ready.get()) {
                QFontDatabase::families();
                StartupMark("font database filled");
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had (a process limit): the fonts are read when first used instead.
    }
}

FontWarmUp::~FontWarmUp() {
    Wait();
}

FontWarmUp::Joined FontWarmUp::ApplicationReady() {
    if (!signalled_) {
        signalled_ = true;
        applicationReady_.set_value(true);
    }
    return Joined(*this);
}

void FontWarmUp::Wait() {
    if (!signalled_) {
        signalled_ = true;
        applicationReady_.set_value(false);
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace movik
