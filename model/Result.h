#pragma once
// The outcome of an operation that can fail: ok, or the message to show the user. Everything in
// the core that can fail returns one, so no caller can take a failure for success unseen.

#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace movik {

class [[nodiscard]] Result {
  public:
    static Result Ok() { return Result(); }
    // message: the user-facing text (never empty for a failure).
    static Result Fail(std::string message) {
        Result r;
        r.failed_ = true;
        r.message_ = std::move(message);
        return r;
    }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    // Empty when ok.
    const std::string& message() const { return message_; }

  private:
    Result() = default;
    bool failed_ = false;
    std::string message_;
};

// A result compared with a text is its message: "" for ok.
inline bool operator==(const Result& result, std::string_view text) {
    return result.message() == text;
}

inline std::ostream& operator<<(std::ostream& out, const Result& result) {
    return out << (result.ok() ? std::string_view("ok") : std::string_view(result.message()));
}

}  // namespace movik
