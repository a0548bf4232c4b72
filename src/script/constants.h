#pragma once
// The predefined names of KX-Script (TRUE, MAXINTEGER, CC_*, SM_*, VK_*). They are
// not variables: a variable of the same name hides a constant.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kivora::script {

std::optional<std::int32_t> lookupConstant(std::string_view upperName);

std::size_t constantCount();
bool constantsAreSorted();

}  // namespace kivora::script
