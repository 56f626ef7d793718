#include "document/DocumentFile.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace movik {

Result SaveDocument(TDokument& doc, FileWriter& writer) {
    if (doc.ImeDatoteke.empty()) {
        return Result::Fail("Dokument nije snimljen: nije zadano ime datoteke.");
    }
    std::vector<std::uint8_t> image;
    if (Result encoded = EncodeDocumentFile(doc, image); !encoded) {
        return encoded;
    }
    if (Result written = writer.WriteWhole(doc.ImeDatoteke, image); !written) {
        return written;
    }
    std::memcpy(doc.KeptBlock.data(), image.data() + kHeaderSize, kDocumentBlockSize);
    doc.Izmijenjen = false;
    return Result::Ok();
}

Result SaveDocument(TDokument& doc) {
    const std::unique_ptr<FileWriter> writer = MakeSystemFileWriter(FileCalls{});
    return SaveDocument(doc, *writer);
}

OpenOutcome OpenDocument(const std::string& path, TDokument& doc, const FileCalls& calls) {
    const ReadOutcome read = ReadFileStart(path, kDocumentFileSize, calls);
    if (read.status == ReadStatus::Missing) {
        return OpenOutcome::Missing(MissingFileMessage(path));
    }
    if (read.status != ReadStatus::Read) {
        return OpenOutcome::Failed(CannotOpenMessage(path));
    }
    return OpenDocumentBytes(path, read.bytes, doc);
}

OpenOutcome OpenDocumentBytes(const std::string& path, std::string_view bytes, TDokument& doc) {
    if (bytes.size() < kDocumentFileSize) {
        return OpenOutcome::Failed("Datoteka " + path + " nije Movik dokument: ima " +
                                   BytesText(bytes.size()) + ", a dokument ima " +
                                   BytesText(kDocumentFileSize) + ".");
    }
    const auto* image = reinterpret_cast<const std::uint8_t*>(bytes.data());
    // Only a file that carries the signature this program writes is a document; anything else
    // would show garbage that a later save writes over the file. The version is not compared,
    // so a later version's file of the same layout still opens.
    if (!HasDocumentSignature(image)) {
        return OpenOutcome::Failed("Datoteka " + path + " nije Movik dokument.");
    }
    DecodeDocumentFile(image, doc);
    doc.ImeDatoteke = path;
    return OpenOutcome::Opened();
}

}  // namespace movik
