#include "engine/statement_catalogue.h"

namespace korvane {

void StatementCatalogue::Register(std::string_view name, StatementHandler handler) {
  handlers_[std::string(name)] = std::move(handler);
}

const StatementHandler* StatementCatalogue::Find(std::string_view name) const {
  auto found = handlers_.find(std::string(name));
  return found == handlers_.end() ? nullptr : &found->second;
}

}  // namespace korvane
