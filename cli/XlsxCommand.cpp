#include "cli/XlsxCommand.h"

#include <stdexcept>

#include "cli/CommandOptions.h"
#include "reports/DocumentWorkbook.h"

namespace movik::cli {

int XlsxCommand(const std::vector<std::string>& args) {
    const CommandOptions options = ReadOptions("xlsx", args, {"-o", "--unit"}, {}, 1);
    const std::string* out = options.value("-o");
    if (out == nullptr || out->empty()) {
        throw std::runtime_error("Naredbi 'xlsx' nedostaje -o OUT.xlsx");
    }
    const auto ws = OpenWorkspace(options.positional[0], SettingsFor(options));
    const std::string* unit = options.value("--unit");
    const Workbook book = DocumentWorkbook(*ws, unit != nullptr ? *unit : "kunama i lipama");
    if (const Result written = WriteXlsx(book, *out); !written) {
        throw std::runtime_error(written.message());
    }
    return 0;
}

}  // namespace movik::cli
