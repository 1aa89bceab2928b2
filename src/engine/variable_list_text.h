#pragma once
// The variable list text: the whole store as one comma-separated line of alternating names and
// values, handed to plug-ins and to the installer thread and read back from them.
//
// Writing: items are joined with commas. An item that holds a byte from 0 to 32 (blanks and
// control characters), a double quote or a comma is enclosed in double quotes with each inner
// quote doubled; an empty item is nothing between its commas; a list of exactly one empty item
// is written as two double quotes.
// Reading: blanks and control characters before an item are skipped; a quoted item runs to its
// closing quote (a doubled quote inside stands for one quote; a missing closing quote lets it
// run to the end of the text); an unquoted item runs to the next comma or the next byte from 0
// to 32; two commas in a row give an empty item and a comma that ends the text gives a final
// empty item.

#include <string>
#include <string_view>

#include "bootstrap/package_tables.h"
#include "engine/variable_manager.h"

namespace korvane {

[[nodiscard]] std::string WriteListText(const LineList& items);
[[nodiscard]] LineList ReadListText(std::string_view text);

// The store as variable list text, in the store's enumeration order.
[[nodiscard]] std::string SaveAll(const TVariableManager& store);
// Clears the store, then sets every name-value pair of the text in order; a later duplicate
// name overwrites an earlier one. A last name without a value is set to the empty text.
void LoadAll(TVariableManager& store, std::string_view text);

}  // namespace korvane
