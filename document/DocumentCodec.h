#pragma once
// The document's byte image (.mvk): an 82-byte header and the 59,872-byte document block,
// encoded from and decoded into a TDokument. No file access here; see DocumentFile.h.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Document.h"
#include "model/Result.h"

namespace movik {

inline constexpr std::size_t kHeaderSize = 82;
inline constexpr std::size_t kDocumentFileSize = kHeaderSize + kDocumentBlockSize;  // 59,954

// The whole file image of the document: header, then the block laid over KeptBlock.
// Fails only when a text cannot be held in Windows-1250 (out is then left as it was).
Result EncodeDocumentFile(const TDokument& doc, std::vector<std::uint8_t>& out);

// Replaces the document block of doc with a file image (at least kDocumentFileSize bytes; extra
// bytes ignored). The header of doc stays; the prepaid expenses and the loss above the capital
// (Bilanca) get their template texts.
// Non-finite numbers are kept as they are; they crash nothing downstream.
void DecodeDocumentFile(const std::uint8_t* image, TDokument& doc);

// True when header bytes 0 to 64 hold the signature the program writes (length 64, "Movik" and
// 59 blanks).
bool HasDocumentSignature(const std::uint8_t* image);

}  // namespace movik
