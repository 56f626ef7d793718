#pragma once
// movik-cli convert DOCUMENT.mvk --to-eur [-o OUT.mvk]: the document converted from kuna to
// euros, written to OUT or over the document through the safe writer.

#include <string>
#include <vector>

namespace movik::cli {

// args: what follows "convert". Returns the exit code; throws std::runtime_error on failure.
int ConvertCommand(const std::vector<std::string>& args);

}  // namespace movik::cli
