#pragma once
// Error codes and messages of the XML layer, one table. %1, %2, ... in a
// message are replaced by the arguments of make_error in order.
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/xml/XmlDocument.h"

namespace tap::xml {

// clang-format off
#define TAP_XML_ERRORS(X)                                                                          \
  /* loading */                                                                                    \
  X(NotWellFormed,      0x101, "%1")                                                               \
  X(DtdProhibited,      0x102, "a document type declaration is not allowed")                       \
  X(TextTooLong,        0x103, "a text node longer than %1 bytes is not allowed")                  \
  X(FileUnreadable,     0x104, "cannot read the file \"%1\"")                                      \
  X(EmptyDocument,      0x105, "the document has no root element")                                 \
  X(NotLoaded,          0x106, "no document is loaded")                                            \
  X(DocumentTooLarge,   0x107, "a document larger than %1 bytes is not allowed")                   \
  X(TooManyElements,    0x108, "a document with more than %1 elements is not allowed")             \
  X(NotRegularFile,     0x109, "\"%1\" is not a regular file")                                     \
  X(TooManyAttributes,  0x10A, "an element with more than %1 attributes is not allowed")           \
  X(TooManyNamespaces,  0x10B, "more than %1 namespace declarations in scope are not allowed")     \
  X(UnsupportedEncoding, 0x10C, "the encoding %1 is not supported: use UTF-8, UTF-16 or an ASCII-compatible one") \
  X(TimeLimit,          0x10D, "the document took longer to load than is allowed")                 \
  /* schema, reported when a schema is added to the cache */                                       \
  X(SchemaRoot,         0x201, "the schema root must be Schema in urn:schemas-microsoft-com:xml-data") \
  X(SchemaNoName,       0x202, "%1 without a name")                                                \
  X(SchemaDuplicate,    0x203, "%1 '%2' is declared twice")                                        \
  X(SchemaBadValue,     0x204, "'%1' is not a valid value of %2 on %3")                            \
  X(SchemaUnknownType,  0x205, "unknown data type '%1' on %2")                                     \
  X(SchemaTypedContent, 0x206, "ElementType '%1' has a data type, so its content must be textOnly") \
  X(SchemaNoChildren,   0x207, "ElementType '%1' with content %2 cannot declare element or group") \
  X(SchemaMixedOrder,   0x208, "ElementType '%1' has mixed content, so its order must be many")   \
  X(SchemaEmptyOpen,    0x209, "ElementType '%1' has empty content and cannot be open")            \
  X(SchemaClosedNoElements, 0x20A, "ElementType '%1' is eltOnly and closed but declares no element") \
  X(SchemaEmptyGroup,   0x20B, "a group in ElementType '%1' has no element")                       \
  X(SchemaManyMaxOccurs, 0x20C, "a group with order many in ElementType '%1' must have maxOccurs '*'") \
  X(SchemaMixedGroup,   0x20D, "a group in mixed ElementType '%1' must have order many")           \
  X(SchemaUnresolvedElement, 0x20E, "ElementType '%1' refers to the undeclared element type '%2'") \
  X(SchemaUnresolvedAttribute, 0x20F, "ElementType '%1' refers to the undeclared attribute type '%2'") \
  X(SchemaValuesWithoutEnum, 0x210, "AttributeType '%1' has dt:values but its type is not enumeration") \
  X(SchemaEnumWithoutValues, 0x211, "AttributeType '%1' is an enumeration without dt:values")     \
  X(SchemaBadDefault,   0x212, "default '%1' of attribute '%2' is not valid: %3")                 \
  X(SchemaDuplicateAttribute, 0x213, "ElementType '%1' refers to attribute '%2' twice")          \
  X(SchemaUnexpected,   0x214, "unexpected <%1> in %2")                                           \
  X(SchemaUnknownPrefix, 0x215, "undeclared prefix in '%1' on %2")                                 \
  /* validation */                                                                                 \
  X(NoSchema,           0x301, "no schema for the namespace '%1' of the root element '%2'")       \
  X(UndeclaredElement,  0x302, "element '%1' is not declared in the schema of namespace '%2'")    \
  X(UnexpectedElement,  0x303, "element '%1' is not allowed here in '%2'; expected %3")           \
  X(IncompleteContent,  0x304, "element '%1' is incomplete; expected %2")                          \
  X(TextNotAllowed,     0x305, "element '%1' has element-only content and cannot contain text")   \
  X(NotEmpty,           0x306, "element '%1' has empty content and cannot contain '%2'")          \
  X(ChildNotAllowed,    0x307, "element '%1' has text-only content and cannot contain element '%2'") \
  X(UndeclaredAttribute, 0x308, "attribute '%1' is not declared for element '%2'")                \
  X(MissingAttribute,   0x309, "element '%1' lacks the required attribute '%2'")                  \
  X(FixedAttribute,     0x30A, "attribute '%1' of element '%2' must have the value '%3'")         \
  X(BadValue,           0x30B, "'%1' is not a valid %2 value of %3%4")                            \
  X(NotInEnumeration,   0x30C, "'%1' is not one of the values (%2) of %3")                        \
  X(TooLong,            0x30D, "%1 has %2 characters, more than its dt:maxLength %3")             \
  X(TooShort,           0x30E, "%1 has %2 characters, fewer than its dt:minLength %3")            \
  X(BadDataTypeName,    0x30F, "dt:dt '%1' on element '%2' is not a known data type")                \
  X(DuplicateId,        0x310, "id '%1' of %2 is used before")                                     \
  X(UnknownIdRef,       0x311, "idref '%1' of %2 names no id in the document")
// clang-format on

enum class XmlError : int {
#define TAP_XML_ERROR_ENUM(id, code, text) id = code,
  TAP_XML_ERRORS(TAP_XML_ERROR_ENUM)
#undef TAP_XML_ERROR_ENUM
};

std::string error_message(XmlError error, std::initializer_list<std::string_view> args);
ParseResult make_error(XmlError error, int line, int column, std::initializer_list<std::string_view> args = {});

}  // namespace tap::xml
