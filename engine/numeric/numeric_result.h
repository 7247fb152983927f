// Outcome of a numeric-library routine that can fail: either its value or the
// message the user's error report carries. Nothing in the numeric library throws;
// the virtual machine hands the message to its error path.
#pragma once

#include <cassert>
#include <optional>
#include <string_view>
#include <utility>

namespace ostrac::numeric {

template <typename T>
class NumericResult {
public:
    static NumericResult success(T value) {
        NumericResult result;
        result.value_ = std::move(value);
        return result;
    }

    // message must outlive the result; every caller passes a string literal. The
    // text is kept letter for letter, including a trailing line break where the
    // message has one (the error path removes it before adding the line number).
    static NumericResult failure(std::string_view message) {
        NumericResult result;
        result.error_ = message;
        return result;
    }

    bool ok() const { return value_.has_value(); }
    const T& value() const {
        assert(ok());
        return *value_;
    }
    // Empty when ok().
    std::string_view error() const { return error_; }

private:
    NumericResult() = default;

    std::optional<T> value_;
    std::string_view error_;
};

}  // namespace ostrac::numeric
