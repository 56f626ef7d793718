// The help file from arbitrary bytes: found, mapped (or refused with a message), its contents
// topic looked up and read. Property: a file that is not open says why in a message.

#include <QCoreApplication>
#include <QFile>
#include <cstdint>

#include "FuzzSupport.h"
#include "about/HelpFile.h"

using namespace movik;
using namespace movik::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath("help.hlp");
    WriteScratch(path, data, size);
    const HelpFile help({QString::fromStdString(path)});
    if (!help.isOpen()) {
        MOVIK_FUZZ_CHECK(!help.error().isEmpty(), "a help file that is not open says why");
        return 0;
    }
    for (const char* topic : {"sadrzaj.html", "likvidnost.html"}) {
        if (help.HasTopic(QString::fromLatin1(topic))) {
            QFile file(help.TopicUrl(QString::fromLatin1(topic)).toString().mid(3));
            if (file.open(QIODevice::ReadOnly)) {
                (void)file.readAll();
            }
        }
    }
    return 0;
}
