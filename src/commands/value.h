#pragma once
// The typed value every command argument and result is. Each value carries the type code of the
// command set; an omitted optional argument is a value of type None (code 0).

#include "platform/types.h"

#include <cstdint>
#include <variant>
#include <vector>

namespace glyvora {

enum class TypeCode : std::uint32_t {
    None = 0,
    Byte = 0x80000101,
    Short = 0x80000201,
    Integer = 0x80000301,
    Long = 0x80000401,
    Float = 0x80000501,
    Double = 0x80000601,
    Boolean = 0x80000002,
    DateTime = 0x80000003,
    Text = 0x80000004,
    ByteSet = 0x80000005,
    SubprogramRef = 0x80000006,
    Condition = 0x80000008,
    WindowRef = 0x00010001,
    MenuItemRef = 0x00010003,
    TreeBoxRef = 0x00020001,
    Node = 0x00040001,
    Queue = 0x00040004,
};

// Bit added to an element's type code for an array of that type.
inline constexpr std::uint32_t kArrayTypeBit = 0x20000000;

// An automation date: days since 1899-12-30, the fraction being the time of day.
struct DateTime {
    double days = 0;
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// The address of a handler, as a table field of type 9 stores it.
struct SubprogramRef {
    std::uint32_t address = 0;
    friend bool operator==(const SubprogramRef&, const SubprogramRef&) = default;
};

class Value {
public:
    Value() = default; // omitted: type None
    Value(bool b) : data_(b) {}
    Value(std::int32_t i) : data_(i) {}
    Value(std::int64_t i) : data_(i) {}
    Value(float f) : data_(f) {}
    Value(double d) : data_(d) {}
    Value(DateTime d) : data_(d) {}
    Value(SubprogramRef r) : data_(r) {}
    Value(const char* text) : data_(Text(text ? text : "")) {}
    Value(Text text) : data_(std::move(text)) {}
    Value(ByteSet bytes) : data_(std::move(bytes)) {}

    static Value byte(std::uint8_t b) { return Value(Tagged{}, b); }
    static Value shortInteger(std::int16_t s) { return Value(Tagged{}, s); }

    TypeCode type() const;
    bool omitted() const { return std::holds_alternative<std::monostate>(data_); }
    // Byte, short, integer, long, float or double.
    bool isNumber() const;

    template <typename T>
    bool holds() const {
        return std::holds_alternative<T>(data_);
    }
    template <typename T>
    const T& as() const {
        return std::get<T>(data_);
    }
    // The numeric value widened to a double; 0 for anything that is not a number.
    double number() const;

    friend bool operator==(const Value&, const Value&) = default;

private:
    struct Tagged {};
    Value(Tagged, std::uint8_t b) : data_(b) {}
    Value(Tagged, std::int16_t s) : data_(s) {}

    std::variant<std::monostate, std::uint8_t, std::int16_t, std::int32_t, std::int64_t, float, double, bool,
                 DateTime, Text, ByteSet, SubprogramRef>
        data_;
};

} // namespace glyvora
