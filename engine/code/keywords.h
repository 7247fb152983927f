// The keywords of the language, in the order the scanner tries them. Letter
// case is ignored. "exit" is not a token of its own: it ends the input.
// Besides the scanner, the program editor colours these words.
#pragma once

#include <array>
#include <string_view>

#include "code/token.h"

namespace ostrac::code {

struct Keyword {
    std::string_view spelling;
    TokenKind kind;
};

inline constexpr std::array<Keyword, 36> keywords = {{
    {"exit", TokenKind::End},        {"for", TokenKind::For},
    {"to", TokenKind::To},           {"step", TokenKind::Step},
    {"next", TokenKind::Next},       {"and", TokenKind::And},
    {"or", TokenKind::Or},           {"not", TokenKind::Not},
    {"print", TokenKind::Print},     {"goto", TokenKind::Goto},
    {"if", TokenKind::If},           {"then", TokenKind::Then},
    {"else", TokenKind::Else},       {"endif", TokenKind::Endif},
    {"do", TokenKind::Do},           {"repeat", TokenKind::Repeat},
    {"while", TokenKind::While},     {"endwhile", TokenKind::Endwhile},
    {"until", TokenKind::Until},     {"function", TokenKind::Function},
    {"sub", TokenKind::Sub},         {"endfn", TokenKind::Endfn},
    {"endsub", TokenKind::Endsub},   {"global", TokenKind::Global},
    {"shared", TokenKind::Shared},   {"load", TokenKind::Load},
    {"eval", TokenKind::Eval},       {"input", TokenKind::Input},
    {"const", TokenKind::Const},     {"halt", TokenKind::Halt},
    {"label", TokenKind::Label},     {"gosub", TokenKind::Gosub},
    {"return", TokenKind::Return},   {"returnf", TokenKind::Returnf},
    {"mod", TokenKind::Mod},         {"gdraw", TokenKind::Gdraw},
}};

}  // namespace ostrac::code
