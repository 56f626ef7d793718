#pragma once
// Functions of a shared library opened at run time (dlopen) instead of linked: for libraries
// only some commands need, which would otherwise be loaded and relocated at every start.

#include <dlfcn.h>

#include <string>
#include <type_traits>

namespace movik {

class LibraryFunctions {
  public:
    // soname: the library's run-time name (as the linker would record it), e.g. "libcups.so.2".
    // The library stays open for the rest of the run: its functions may be in use on any thread.
    // A path opens that file instead.
    explicit LibraryFunctions(const char* soname)
        : library_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)), complete_(library_ != nullptr) {
        if (library_ == nullptr) {
            const char* reason = dlerror();
            openError_ = reason != nullptr ? reason : "";
        }
    }

    // Sets function to the library's function name; a missing one makes the set incomplete.
    template <typename Function>
    void Find(Function& function, const char* name) {
        function = library_ != nullptr
                       ? reinterpret_cast<std::remove_reference_t<Function>>(dlsym(library_, name))
                       : nullptr;
        complete_ = complete_ && function != nullptr;
    }

    // The library was found and every function asked for is in it.
    bool complete() const { return complete_; }
    // The library was found and loaded; why not, when it was not (the loader's words).
    bool opened() const { return library_ != nullptr; }
    const std::string& openError() const { return openError_; }

  private:
    void* library_;
    bool complete_;
    std::string openError_;
};

}  // namespace movik
