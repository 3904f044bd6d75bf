#include "commands/value.h"

namespace glyvora {

TypeCode Value::type() const {
    struct Visitor {
        TypeCode operator()(std::monostate) const { return TypeCode::None; }
        TypeCode operator()(std::uint8_t) const { return TypeCode::Byte; }
        TypeCode operator()(std::int16_t) const { return TypeCode::Short; }
        TypeCode operator()(std::int32_t) const { return TypeCode::Integer; }
        TypeCode operator()(std::int64_t) const { return TypeCode::Long; }
        TypeCode operator()(float) const { return TypeCode::Float; }
        TypeCode operator()(double) const { return TypeCode::Double; }
        TypeCode operator()(bool) const { return TypeCode::Boolean; }
        TypeCode operator()(const DateTime&) const { return TypeCode::DateTime; }
        TypeCode operator()(const Text&) const { return TypeCode::Text; }
        TypeCode operator()(const ByteSet&) const { return TypeCode::ByteSet; }
        TypeCode operator()(const SubprogramRef&) const { return TypeCode::SubprogramRef; }
    };
    return std::visit(Visitor{}, data_);
}

bool Value::isNumber() const {
    switch (type()) {
    case TypeCode::Byte:
    case TypeCode::Short:
    case TypeCode::Integer:
    case TypeCode::Long:
    case TypeCode::Float:
    case TypeCode::Double:
        return true;
    default:
        return false;
    }
}

double Value::number() const {
    if (auto* v = std::get_if<std::uint8_t>(&data_)) return *v;
    if (auto* v = std::get_if<std::int16_t>(&data_)) return *v;
    if (auto* v = std::get_if<std::int32_t>(&data_)) return *v;
    if (auto* v = std::get_if<std::int64_t>(&data_)) return static_cast<double>(*v);
    if (auto* v = std::get_if<float>(&data_)) return *v;
    if (auto* v = std::get_if<double>(&data_)) return *v;
    return 0;
}

} // namespace glyvora
