#pragma once
// movik-cli chart DOCUMENT.mvk --kind structure|income -o OUT.png|OUT.svg [--width PX]
// [--height PX]: the charts of the window, drawn without a display.

#include <string>
#include <vector>

namespace movik::cli {

// args: what follows "chart". Returns the exit code; throws std::runtime_error on failure.
int ChartCommand(const std::vector<std::string>& args);

}  // namespace movik::cli
