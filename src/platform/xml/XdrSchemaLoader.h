#pragma once
// Reads an XDR schema document into an XdrSchema, checking it as it goes;
// the content models are compiled here, once.
#include "platform/xml/XdrSchema.h"
#include "platform/xml/XmlDocument.h"
#include "platform/xml/XmlTree.h"

namespace tap::xml {

// `ns` is the namespace the schema is added under: XDR has no target
// namespace, so unprefixed element references mean this one.
ParseResult load_xdr_schema(const TreeNode* root, std::string_view ns, XdrSchema& schema);

}  // namespace tap::xml
