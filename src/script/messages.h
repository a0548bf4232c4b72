#pragma once
// Every text the engine reports, in English and Japanese, filled in ready to
// hand to the host. The language is picked at the moment of the report.

#include <cstdint>
#include <string>
#include <string_view>

namespace kivora::script::messages {

std::string unassignedVariable(bool ja, std::string_view name, int line);
std::string invalidIndex(bool ja, std::string_view name, std::int32_t index, int line);
// op is one of "/", "%", "/=", "%=".
std::string divisionByZero(bool ja, std::string_view op, int line);
std::string tooManyCalls(bool ja, std::string_view name, std::size_t count, int line);
std::string unknownFunction(bool ja, std::string_view name, std::size_t count, int line);
std::string unknownApplicationFunction(bool ja, std::string_view name, std::size_t count, int line);
// functionName as shown to the user, with its parentheses: "split()", "SortArray()".
std::string invalidArrayName(bool ja, std::string_view functionName);

// Runner reports.
std::string invalidParameter(bool ja);
std::string outOfMemoryTranslating(bool ja);
std::string unknownLabel(bool ja, std::string_view label);
std::string regexFailure(bool ja, std::string_view description);
std::string runtimeFailure(bool ja, std::string_view description);
std::string allocationFailure(bool ja, std::string_view description);
std::string unknownFailure(bool ja);
std::string processorFault(bool ja, std::uint32_t exceptionCode);

// The description of the std::runtime_error that ends a run nested too deeply.
inline constexpr const char* kNestedTooDeeply = "script nested too deeply";

}  // namespace kivora::script::messages
