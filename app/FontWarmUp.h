#pragma once
// Fonts cost the start-up several milliseconds the first time any is used: fontconfig reads its
// configuration and font caches, then Qt fills its font database from them. Both run here on a
// second thread, overlapping work of the main thread: fontconfig's part while the windowing
// system is set up, Qt's part (which needs the application object) while the start-up screen is
// made. Whatever the main thread needs meanwhile it gets at once or after waiting for this.

#include <future>
#include <thread>

namespace movik {

class FontWarmUp {
  public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Waits for the work in its destructor: declared after the QApplication, it is destroyed
    // before it on every path (an exception in start-up too), so Qt's part never outlives it.
    class [[nodiscard]] Joined {
      public:
        explicit Joined(FontWarmUp& fonts) : fonts_(fonts) {}
        ~Joined() { fonts_.Wait(); }
        Joined(const Joined&) = delete;
        Joined& operator=(const Joined&) = delete;

      private:
        FontWarmUp& fonts_;
    };

    // Call once the QApplication exists and keep what it returns in the same scope: Qt's font
    // database is filled next.
    Joined ApplicationReady();
    // Waits until the work is done (at once when it is); without ApplicationReady before, Qt's
    // part is skipped.
    void Wait();

  private:
    std::promise<bool> applicationReady_;  // false: there is none, skip Qt's part
    std::thread thread_;
    bool signalled_ = false;
};

}  // namespace movik
