// Operand stack cells and stored values.
//
// A stack cell (`Value`) is a tagged union whose alternatives are ordered by
// their tag numbers, so the variant index is the tag written to state files.
// Strings and matrices are shared, immutable-by-convention handles: reading a
// variable copies the handle, never the characters or elements; the one
// in-place change (element write) copies first when the storage is shared.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "numeric/complex.h"
#include "numeric/matrix.h"

namespace ostrac::vm {

using numeric::Complex;
using numeric::Matrix;

using Text = std::shared_ptr<const std::string>;
using MatrixRef = std::shared_ptr<Matrix>;

enum class ValueTag : std::uint8_t {
    Float = 0,
    Int = 1,
    Complex = 2,
    Ident = 3,         // reference to a symbol, by index
    Block = 4,         // block index in a return frame; body offset in a FOR frame
    ReturnOffset = 5,  // code offset at which the caller continues
    String = 6,
    Matrix = 7,
    Gosub = 8,      // code offset after a GOSUB
    LoopFrame = 9,  // the bottom cell of a FOR frame
};

// Type of a stored or popped value. 1 is not used: ints become floats.
enum class ValueType : std::uint8_t {
    Real = 0,
    Complex = 2,
    String = 3,
    Matrix = 4,
    Reference = 5,  // only in symbol entries: stands for another entry
    Procedure = 6,  // only in symbol entries: SUB0 and user procedures
};

struct IntCell { std::int32_t value; };
struct IdentCell { std::int32_t index; };
struct BlockCell { std::int32_t value; };
struct ReturnOffsetCell { std::int32_t offset; };
struct GosubCell { std::int32_t offset; };

// Bottom cell of a FOR frame. kind, skip, block and depth are what state files
// carry; body_start and body_end (absolute offsets of the loop body, end
// exclusive) let a GOTO tell whether it leaves the loop.
struct LoopFrameCell {
    std::uint8_t kind;
    std::int32_t skip;
    std::int32_t block;
    std::int32_t depth;
    std::int32_t body_start;
    std::int32_t body_end;
};

inline constexpr std::uint8_t loop_kind_for = 44;

using Value = std::variant<double, IntCell, Complex, IdentCell, BlockCell, ReturnOffsetCell,
                           Text, MatrixRef, GosubCell, LoopFrameCell>;

inline ValueTag tag_of(const Value& v) { return static_cast<ValueTag>(v.index()); }

static_assert(std::variant_size_v<Value> == 10);
static_assert(std::is_same_v<std::variant_alternative_t<6, Value>, Text>);
static_assert(std::is_same_v<std::variant_alternative_t<9, Value>, LoopFrameCell>);

// A value as the operators see it after popping: its type and its contents.
// Scalars are carried as a Complex (a Real has im 0).
struct Operand {
    ValueType type = ValueType::Real;
    Complex number;
    Text text;
    MatrixRef matrix;
};

}  // namespace ostrac::vm
