#pragma once
// Writers for form files: the text form (for round trips and the builder's diagnostics) and the
// binary "TPF0" form (for converting text forms at build time). Reading what they write gives an
// equal component tree.

#include <string>

#include "wizard/forms/form_component.h"

namespace korvane::forms {

std::string WriteFormText(const Component& root);
std::string WriteFormBinary(const Component& root);

}  // namespace korvane::forms
