#pragma once
// The watched keyboard names in their stored form: joined by ";".

#include <string>
#include <string_view>
#include <vector>

namespace kivora::settings {

// Appends the pieces of the stored text to names. Each ";" ends a piece; a ";"
// at the very end adds no empty piece, but one at the start or two in a row do.
void appendDeviceNames(std::u16string_view stored, std::vector<std::u16string>& names);
std::u16string joinDeviceNames(const std::vector<std::u16string>& names);

}  // namespace kivora::settings
