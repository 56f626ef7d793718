#pragma once
// Why a typed or pasted amount is refused, in words that name the regional separators, so a
// refusal never passes without a reason.

#include <string>
#include <string_view>

#include "model/Regional.h"

namespace movik {

// "" when text is an amount an input cell takes (ReadAmount reads it and, shown to the cent,
// it stays within the amount limit); otherwise the sentence that says why: the amount rule's
// "Iznos nije ispravan: …" or AmountLimitMessage.
std::string AmountRefusal(std::string_view text, const RegionalSettings& rs);

// "Iznos nije ispravan: " and the separators of rs with the place of the thousands separator.
std::string AmountRuleMessage(const RegionalSettings& rs);

// The note for characters the amount editor did not take (typed or pasted): names them and
// what an amount may hold, with the separators of rs.
std::string RefusedCharactersNote(std::string_view refused, const RegionalSettings& rs);

}  // namespace movik
