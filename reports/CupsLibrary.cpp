#include "reports/CupsLibrary.h"

#include "system/LibraryFunctions.h"

namespace movik {

namespace {

bool Open(CupsLibrary& cups) {
    LibraryFunctions library("libcups.so.2");
    library.Find(cups.server, "cupsServer");
    library.Find(cups.port, "ippPort");
    library.Find(cups.encryption, "cupsEncryption");
    library.Find(cups.connect, "httpConnect2");
    library.Find(cups.setTimeout, "httpSetTimeout");
    library.Find(cups.close, "httpClose");
    library.Find(cups.getNamedDest, "cupsGetNamedDest");
    library.Find(cups.freeDests, "cupsFreeDests");
    library.Find(cups.addOption, "cupsAddOption");
    library.Find(cups.freeOptions, "cupsFreeOptions");
    library.Find(cups.createJob, "cupsCreateJob");
    library.Find(cups.cancelJob, "cupsCancelJob2");
    library.Find(cups.startDocument, "cupsStartDocument");
    library.Find(cups.writeRequestData, "cupsWriteRequestData");
    library.Find(cups.finishDocument, "cupsFinishDocument");
    library.Find(cups.lastErrorString, "cupsLastErrorString");
    return library.complete();
}

}  // namespace

const CupsLibrary* Cups() {
    static CupsLibrary cups;
    static const bool opened = Open(cups);
    return opened ? &cups : nullptr;
}

}  // namespace movik
