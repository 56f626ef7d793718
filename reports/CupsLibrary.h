#pragma once
// libcups, opened the first time something is printed rather than when the program starts: the
// library and the ones it brings (TLS, Kerberos, Avahi) would otherwise be loaded and relocated
// before the first window. Only the functions the print path calls are looked up.

#include <cups/cups.h>

namespace movik {

struct CupsLibrary {
    decltype(&cupsServer) server;
    decltype(&ippPort) port;
    decltype(&cupsEncryption) encryption;
    decltype(&httpConnect2) connect;
    decltype(&httpSetTimeout) setTimeout;
    decltype(&httpClose) close;
    decltype(&cupsGetNamedDest) getNamedDest;
    decltype(&cupsFreeDests) freeDests;
    decltype(&cupsAddOption) addOption;
    decltype(&cupsFreeOptions) freeOptions;
    decltype(&cupsCreateJob) createJob;
    decltype(&cupsCancelJob2) cancelJob;
    decltype(&cupsStartDocument) startDocument;
    decltype(&cupsWriteRequestData) writeRequestData;
    decltype(&cupsFinishDocument) finishDocument;
    decltype(&cupsLastErrorString) lastErrorString;
};

// The library, opened once for the whole run (safe from any thread); nullptr when it is not
// installed or lacks one of the functions.
const CupsLibrary* Cups();

}  // namespace movik
