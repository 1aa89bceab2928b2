#pragma once
// A parameter may name a variable plainly or as a reference: "$NAME$".

#include <string>
#include <string_view>

namespace korvane {

// The text between the dollars when text starts and ends with "$" and holds no other "$";
// otherwise the empty text.
[[nodiscard]] std::string ReferenceName(std::string_view text);

}  // namespace korvane
