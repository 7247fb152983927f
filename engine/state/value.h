// Operand stack cells and stored values.
//
// A stack cell (`Value`) is a tagged union; its tag numbers are the ones
// written to state files.
// Strings and matrices are shared, immutable-by-convention handles: reading a
// variable copies the handle, never the characters or elements; the one
// in-place change (element write) copies first when the storage is shared.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>

#include "numeric/complex.h"
#include "numeric/matrix.h"

namespace ostrac::state {

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

// One operand stack cell. The tag says which member counts; strings and
// matrices live in their own handles, which are null in every other cell.
// Unlike a general tagged union, writing a scalar over a scalar is two
// stores, which is most of what the dispatch loop does.
class Value {
public:
    Value() noexcept { scalar_.d = 0.0; }
    Value(double v) noexcept { scalar_.d = v; }
    Value(IntCell v) noexcept : tag_(ValueTag::Int) { scalar_.i = v; }
    Value(Complex v) noexcept : tag_(ValueTag::Complex) { scalar_.z = v; }
    Value(IdentCell v) noexcept : tag_(ValueTag::Ident) { scalar_.id = v; }
    Value(BlockCell v) noexcept : tag_(ValueTag::Block) { scalar_.b = v; }
    Value(ReturnOffsetCell v) noexcept : tag_(ValueTag::ReturnOffset) { scalar_.r = v; }
    Value(GosubCell v) noexcept : tag_(ValueTag::Gosub) { scalar_.g = v; }
    Value(LoopFrameCell v) noexcept : tag_(ValueTag::LoopFrame) { scalar_.f = v; }
    Value(Text v) noexcept : tag_(ValueTag::String), text_(std::move(v)) { scalar_.d = 0.0; }
    Value(MatrixRef v) noexcept : tag_(ValueTag::Matrix), matrix_(std::move(v)) { scalar_.d = 0.0; }

    ValueTag tag() const { return tag_; }
    std::size_t index() const { return static_cast<std::size_t>(tag_); }

    template <class T>
    static constexpr ValueTag tag_for() {
        if constexpr (std::is_same_v<T, double>) return ValueTag::Float;
        else if constexpr (std::is_same_v<T, IntCell>) return ValueTag::Int;
        else if constexpr (std::is_same_v<T, Complex>) return ValueTag::Complex;
        else if constexpr (std::is_same_v<T, IdentCell>) return ValueTag::Ident;
        else if constexpr (std::is_same_v<T, BlockCell>) return ValueTag::Block;
        else if constexpr (std::is_same_v<T, ReturnOffsetCell>) return ValueTag::ReturnOffset;
        else if constexpr (std::is_same_v<T, Text>) return ValueTag::String;
        else if constexpr (std::is_same_v<T, MatrixRef>) return ValueTag::Matrix;
        else if constexpr (std::is_same_v<T, GosubCell>) return ValueTag::Gosub;
        else {
            static_assert(std::is_same_v<T, LoopFrameCell>, "not a cell type");
            return ValueTag::LoopFrame;
        }
    }

    template <class T>
    bool holds() const { return tag_ == tag_for<T>(); }

    template <class T>
    T* get_if() { return holds<T>() ? &member<T>(*this) : nullptr; }
    template <class T>
    const T* get_if() const { return holds<T>() ? &member<T>(*this) : nullptr; }

    // Writes a scalar over whatever the cell held.
    template <class T>
    void set_scalar(T v) {
        if (text_ || matrix_) release_handles();
        assign_scalar(v);
    }

    // Writes a scalar into a cell known to hold no string or matrix, as the
    // free cells of the operand stack are.
    template <class T>
    void assign_scalar(T v) {
        static_assert(std::is_trivially_copyable_v<T>);
        tag_ = tag_for<T>();
        member<T>(*this) = v;
    }

    // Moves `other` into this cell, which must hold no string or matrix; a
    // scalar is copied without touching the handles.
    void take(Value& other) noexcept {
        tag_ = other.tag_;
        scalar_ = other.scalar_;
        if (other.text_ || other.matrix_) {
            text_ = std::move(other.text_);
            matrix_ = std::move(other.matrix_);
        }
    }

private:
    template <class T, class Self>
    static auto& member(Self& self) {
        if constexpr (std::is_same_v<T, double>) return self.scalar_.d;
        else if constexpr (std::is_same_v<T, IntCell>) return self.scalar_.i;
        else if constexpr (std::is_same_v<T, Complex>) return self.scalar_.z;
        else if constexpr (std::is_same_v<T, IdentCell>) return self.scalar_.id;
        else if constexpr (std::is_same_v<T, BlockCell>) return self.scalar_.b;
        else if constexpr (std::is_same_v<T, ReturnOffsetCell>) return self.scalar_.r;
        else if constexpr (std::is_same_v<T, Text>) return self.text_;
        else if constexpr (std::is_same_v<T, MatrixRef>) return self.matrix_;
        else if constexpr (std::is_same_v<T, GosubCell>) return self.scalar_.g;
        else return self.scalar_.f;
    }

    void release_handles() {
        text_.reset();
        matrix_.reset();
    }

    union Scalar {
        Scalar() : d(0.0) {}
        double d;
        IntCell i;
        Complex z;
        IdentCell id;
        BlockCell b;
        ReturnOffsetCell r;
        GosubCell g;
        LoopFrameCell f;
    };
    static_assert(std::is_trivially_copyable_v<Complex> && std::is_trivially_copyable_v<LoopFrameCell>);

    ValueTag tag_ = ValueTag::Float;
    Scalar scalar_;
    Text text_;
    MatrixRef matrix_;
};

inline ValueTag tag_of(const Value& v) { return v.tag(); }

// The access functions the code uses on cells, shaped like those of the
// standard tagged union.
template <class T>
[[gnu::always_inline]] inline T* get_if(Value* v) { return v != nullptr ? v->get_if<T>() : nullptr; }
template <class T>
[[gnu::always_inline]] inline const T* get_if(const Value* v) { return v != nullptr ? v->get_if<T>() : nullptr; }
template <class T>
bool holds_alternative(const Value& v) { return v.holds<T>(); }
template <class T>
T& get(Value& v) {
    if (T* p = v.get_if<T>()) return *p;
    throw std::bad_variant_access();
}
template <class T>
const T& get(const Value& v) {
    if (const T* p = v.get_if<T>()) return *p;
    throw std::bad_variant_access();
}

// Calls f with the cell's member that counts.
template <class F>
decltype(auto) visit(F&& f, const Value& v) {
    switch (v.tag()) {
    case ValueTag::Float: return f(get<double>(v));
    case ValueTag::Int: return f(get<IntCell>(v));
    case ValueTag::Complex: return f(get<Complex>(v));
    case ValueTag::Ident: return f(get<IdentCell>(v));
    case ValueTag::Block: return f(get<BlockCell>(v));
    case ValueTag::ReturnOffset: return f(get<ReturnOffsetCell>(v));
    case ValueTag::String: return f(get<Text>(v));
    case ValueTag::Matrix: return f(get<MatrixRef>(v));
    case ValueTag::Gosub: return f(get<GosubCell>(v));
    case ValueTag::LoopFrame: break;
    }
    return f(get<LoopFrameCell>(v));
}

// A value as the operators see it after popping: its type and its contents.
// Scalars are carried as a Complex (a Real has im 0).
struct Operand {
    ValueType type = ValueType::Real;
    Complex number;
    Text text;
    MatrixRef matrix;
};

}  // namespace ostrac::state
