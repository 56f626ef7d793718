#include "reports/CupsLibrary.h"

#include <dlfcn.h>

#include <type_traits>

namespace movik {

namespace {

bool Open(CupsLibrary& cups) {
    // The run-time name of the library (its soname), as the linker would have recorded it.
    void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return false;
    }
    bool complete = true;
    auto find = [&](auto& function, const char* name) {
        function =
            reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
        complete = complete && function != nullptr;
    };
    find(cups.server, "cupsServer");
    find(cups.port, "ippPort");
    find(cups.encryption, "cupsEncryption");
    find(cups.connect, "httpConnect2");
    find(cups.setTimeout, "httpSetTimeout");
    find(cups.close, "httpClose");
    find(cups.getNamedDest, "cupsGetNamedDest");
    find(cups.freeDests, "cupsFreeDests");
    find(cups.addOption, "cupsAddOption");
    find(cups.freeOptions, "cupsFreeOptions");
    find(cups.createJob, "cupsCreateJob");
    find(cups.cancelJob, "cupsCancelJob2");
    find(cups.startDocument, "cupsStartDocument");
    find(cups.writeRequestData, "cupsWriteRequestData");
    find(cups.finishDocument, "cupsFinishDocument");
    find(cups.lastErrorString, "cupsLastErrorString");
    // The library stays open for the rest of the run: its functions may be in use on any thread.
    return complete;
}

}  // namespace

const CupsLibrary* Cups() {
    static CupsLibrary cups;
    static const bool opened = Open(cups);
    return opened ? &cups : nullptr;
}

}  // namespace movik
