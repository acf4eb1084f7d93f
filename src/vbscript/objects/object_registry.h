#pragma once
// Objects scripts can create without a class of their own: CreateObject by
// ProgID ("Scripting.Dictionary", "VBScript.RegExp") and New of the
// engine's built-in classes (RegExp). Both answer null for names they do
// not know.
#include <string_view>

#include "platform/com/Dispatch.h"

namespace tap::vbs {

com::Ref<com::IDispatch> create_object_by_progid(std::u16string_view progid);
com::Ref<com::IDispatch> create_builtin_class(std::u16string_view class_name);

}  // namespace tap::vbs
