// Amount texts and number display. The first byte picks the separators; the rest is the text.
// Properties: an accepted amount within the input limit formats with the amount pattern and
// reads back to the same two-decimal value, and formatting that again gives the same text; every
// pattern the program uses formats any value (the text's, and the raw bits of the input) into a
// short text.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "model/NumberFormat.h"

using namespace movik;
using namespace movik::fuzz;

namespace {

// Every display pattern of grids, reports, exports and fields.
constexpr std::string_view kPatterns[] = {"#,##0.00", "0.00%",    "##0",  "#,##0", "#,##0.00%",
                                          "#,##0;",   "#,###.##", "#.##", ",0;-,0"};

void FormatsShort(double value, const RegionalSettings& rs) {
    for (const std::string_view pattern : kPatterns) {
        const std::string text = FormatNumber(value, pattern, rs);
        MOVIK_FUZZ_CHECK(text.size() < 700, "a display text of sane length");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const RegionalSettings rs = SettingsOf((data[0] & 1) != 0);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    if (size >= 1 + sizeof(double)) {
        double bits = 0;
        std::memcpy(&bits, data + 1, sizeof bits);
        FormatsShort(bits, rs);
    }
    (void)AmountFromText(text, rs);
    const std::optional<double> amount = ReadAmount(text, rs);
    MOVIK_FUZZ_CHECK(amount.has_value() == IsAmountText(text, rs), "one rule for amounts");
    if (!amount) {
        return 0;
    }
    FormatsShort(*amount, rs);
    if (!WithinAmountLimit(*amount)) {
        return 0;
    }
    const std::string shown = FormatNumber(*amount, "#,##0.00", rs);
    const std::optional<double> back = ReadAmount(shown, rs);
    MOVIK_FUZZ_CHECK(back.has_value(), "a shown amount reads back: " + shown);
    MOVIK_FUZZ_CHECK(std::fabs(*back - *amount) <= 0.005 + std::fabs(*amount) * 1e-15,
                     "a shown amount is the amount to the cent: " + shown);
    MOVIK_FUZZ_CHECK(*back == std::round(*back * 100) / 100,
                     "a shown amount has two decimals: " + shown);
    MOVIK_FUZZ_CHECK(FormatNumber(*back, "#,##0.00", rs) == shown,
                     "a shown amount shows the same again: " + shown);
    return 0;
}
