#pragma once
// Reads an XDR schema document into an XdrSchema, checking it as it goes;
// the content models are compiled here, once.
#include <libxml/tree.h>

#include "platform/xml/XdrSchema.h"
#include "platform/xml/XmlDocument.h"

namespace tap::xml {

// `ns` is the namespace the schema is added under: XDR has no target
// namespace, so unprefixed element references mean this one.
ParseResult load_xdr_schema(const xmlDoc* doc, std::string_view ns, XdrSchema& schema);

}  // namespace tap::xml
