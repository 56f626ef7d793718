#include "model/NumberPattern.h"

#include <optional>
#include <utility>

namespace movik::numfmt {

namespace {

bool IsPlaceholder(char c) {
    return c == '0' || c == '#';
}

// Where a section's number stands (first and last character): from its first placeholder, with
// a "," or "." right before it (",0", ".00"), to its last, with a decimal point right after it
// ("0."); nullopt when the section has no placeholder.
std::optional<std::pair<std::size_t, std::size_t>> NumberSpan(std::string_view s) {
    std::size_t first = std::string_view::npos;
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsPlaceholder(s[i])) {
            if (first == std::string_view::npos) {
                first = i;
            }
            last = i;
        }
    }
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    while (first > 0 && (s[first - 1] == ',' || s[first - 1] == '.')) {
        --first;
    }
    if (last + 1 < s.size() && s[last + 1] == '.' &&
        s.substr(first, last + 1 - first).find('.') == std::string_view::npos) {
        ++last;
    }
    return std::pair(first, last);
}

// Reads the number's placeholders, separators and literals into sec: the places before and
// after the point, the least of them shown, the thousands separator, and the literals by their
// place (those before the point counted from the point).
void ReadNumber(std::string_view number, Section& sec) {
    bool afterPoint = false;
    int firstZeroIndex = -1;
    std::string pending;
    std::vector<Literal> intRaw;  // pos = placeholders to the left, fixed up below
    auto flush = [&](std::vector<Literal>& into, int pos) {
        if (!pending.empty()) {
            into.push_back({pos, pending});
            pending.clear();
        }
    };
    for (const char c : number) {
        if (!afterPoint) {
            if (IsPlaceholder(c)) {
                flush(intRaw, sec.intPlaces);
                if (c == '0') {
                    sec.hasZero = true;
                    if (firstZeroIndex < 0) {
                        firstZeroIndex = sec.intPlaces;
                    }
                }
                ++sec.intPlaces;
            } else if (c == ',') {
                sec.thousands = true;
            } else if (c == '.') {
                flush(intRaw, sec.intPlaces);
                afterPoint = true;
            } else {
                pending += c;
            }
        } else {
            if (IsPlaceholder(c)) {
                flush(sec.decLiterals, sec.maxDec);
                ++sec.maxDec;
                if (c == '0') {
                    sec.hasZero = true;
                    sec.minDec = sec.maxDec;
                }
            } else if (c == ',') {
                // Thousands separators have no meaning among the decimals.
            } else {
                pending += c;
            }
        }
    }
    flush(afterPoint ? sec.decLiterals : intRaw, afterPoint ? sec.maxDec : sec.intPlaces);
    if (firstZeroIndex >= 0) {
        sec.minInt = sec.intPlaces - firstZeroIndex;
    }
    for (auto& lit : intRaw) {
        sec.intLiterals.push_back({sec.intPlaces - lit.pos, std::move(lit.text)});
    }
}

Section ParseSection(std::string_view s) {
    Section sec;
    sec.whole = std::string(s);
    sec.empty = s.empty();
    const auto span = NumberSpan(s);
    if (!span) {
        return sec;
    }
    const auto [first, last] = *span;
    sec.hasDigits = true;
    sec.prefix = std::string(s.substr(0, first));
    sec.suffix = std::string(s.substr(last + 1));
    ReadNumber(s.substr(first, last + 1 - first), sec);

    sec.literalBytes = sec.prefix.size() + sec.suffix.size();
    for (const auto& lit : sec.intLiterals) {
        sec.literalBytes += lit.text.size();
    }
    for (const auto& lit : sec.decLiterals) {
        sec.literalBytes += lit.text.size();
    }
    sec.plain =
        sec.intLiterals.empty() && sec.decLiterals.empty() && sec.minInt <= 24 && sec.maxDec <= 15;
    return sec;
}

}  // namespace

Pattern ParsePattern(std::string_view text) {
    Pattern p;
    p.count = 0;
    std::size_t start = 0;
    while (p.count < 3) {
        const std::size_t semi = text.find(';', start);
        const std::size_t end =
            (semi == std::string_view::npos || p.count == 2) ? text.size() : semi;
        p.sections[static_cast<std::size_t>(p.count)] =
            ParseSection(text.substr(start, end - start));
        ++p.count;
        if (end == text.size()) {
            break;
        }
        start = end + 1;
    }
    return p;
}

const Pattern& CachedPattern(std::string_view text) {
    struct Entry {
        std::string key;
        Pattern pattern;
        bool used = false;
    };
    // One cache per thread: nothing is shared, so no lock is taken on the way to every cell.
    thread_local std::array<Entry, 16> cache;
    thread_local std::size_t next = 0;
    for (auto& e : cache) {
        if (e.used && e.key == text) {
            return e.pattern;
        }
    }
    Entry& e = cache[next];
    next = (next + 1) % cache.size();
    e.key = std::string(text);
    e.pattern = ParsePattern(text);
    e.used = true;
    return e.pattern;
}

}  // namespace movik::numfmt
