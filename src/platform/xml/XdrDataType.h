#pragma once
// The XDR data types (namespace urn:schemas-microsoft-com:datatypes): their
// names, their lexical rules and the decoding of the typed values.
#include <optional>
#include <string>
#include <string_view>

namespace tap::xml {

// clang-format off
#define TAP_XDR_DATATYPES(X)                                                            \
  X(String, "string")   X(Id, "id")           X(IdRef, "idref")     X(IdRefs, "idrefs") \
  X(Entity, "entity")   X(Entities, "entities") X(NmToken, "nmtoken") X(NmTokens, "nmtokens") \
  X(Notation, "notation") X(Enumeration, "enumeration")                                 \
  X(BinHex, "bin.hex")  X(BinBase64, "bin.base64") X(Boolean, "boolean") X(Char, "char") \
  X(Date, "date")       X(DateTime, "dateTime") X(DateTimeTz, "dateTime.tz")            \
  X(Time, "time")       X(TimeTz, "time.tz")                                            \
  X(Fixed14_4, "fixed.14.4") X(Number, "number") X(Float, "float") X(R4, "r4") X(R8, "r8") \
  X(Int, "int")         X(I1, "i1") X(I2, "i2") X(I4, "i4") X(I8, "i8")                 \
  X(Ui1, "ui1")         X(Ui2, "ui2") X(Ui4, "ui4") X(Ui8, "ui8")                       \
  X(Uri, "uri")         X(Uuid, "uuid")
// clang-format on

enum class DataType {
#define TAP_XDR_DATATYPE_ENUM(id, name) id,
  TAP_XDR_DATATYPES(TAP_XDR_DATATYPE_ENUM)
#undef TAP_XDR_DATATYPE_ENUM
};

// Type names compare without case, as dt:dt values do.
std::optional<DataType> datatype_from_name(std::string_view name);
std::string_view datatype_name(DataType type);

// Whether `value`, as written, is a lexically valid value of `type`. Every
// type but string is trimmed of XML whitespace first. Enumeration only
// checks for a single token here; membership is the caller's.
bool is_valid_value(DataType type, std::string_view value);

// Typed values. nullopt when the text is not a valid value of the type.
std::optional<std::string> decode_bin_hex(std::string_view text);
std::optional<std::string> decode_base64(std::string_view text);
std::optional<bool> decode_boolean(std::string_view text);

}  // namespace tap::xml
