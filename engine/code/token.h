// Tokens delivered by the scanner. The parser maps each kind to its own
// token code; keywords carry no value, identifiers, strings and numbers do.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ostrac::code {

enum class TokenKind : std::uint8_t {
    End,  // "exit" or the end of a file source; the code block got its OP_END
    Number,
    Imaginary,
    Identifier,
    String,
    Newline,
    Ge,  // ">=" or "=>"
    Le,  // "<=" or "=<"
    Ne,  // "<>"
    Char,  // one of : = > < * ? @ + - / ( ) [ ] , ; ^ &  (the character is in Token::ch)
    // Keywords, matched without regard to letter case.
    For, To, Step, Next, And, Or, Not, Print, Goto, If, Then, Else, Endif, Do,
    Repeat, While, Endwhile, Until, Function, Sub, Endfn, Endsub, Global, Shared,
    Load, Eval, Input, Const, Halt, Label, Gosub, Return, Returnf, Mod, Gdraw,
};

// The characters that are tokens of their own (TokenKind::Char).
inline constexpr std::string_view single_characters = ":=><*?@+-/()[],;^&";

// The value a token carries: identifier and string texts keep their letters
// as written; numeric literals are always doubles.
struct TokenValue {
    std::string text;
    double number = 0.0;
};

struct Token {
    TokenKind kind = TokenKind::End;
    char ch = 0;  // the character of a TokenKind::Char token
    TokenValue value;
};

}  // namespace ostrac::code
