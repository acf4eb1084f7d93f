#pragma once
// The replacement text of RegExp.Replace for one match: the template with
// $1-$99 (a group, empty when it took no part), $& (the match), $` (the
// text before it), $' (the text after it) and $$ (a dollar) expanded. A
// two-digit reference counts only when that group exists ($10 with one
// group is group 1 and "0"); any other $ stays as written.
#include <string>
#include <string_view>

#include "platform/regex/RegexMatch.h"

namespace tap::vbs {

void expand_replacement(std::u16string_view replacement, std::u16string_view subject,
                        const regex::RegexMatch& match, std::u16string& out);

}  // namespace tap::vbs
