#include "core/formula/engine.h"

#include <cstdlib>

namespace qm::formula {

std::optional<Engine> parseEngine(std::string_view name) {
  if (name == "reference") return Engine::Reference;
  if (name == "block") return Engine::Block;
  if (name == "compiled") return Engine::Compiled;
  if (name == "auto") return Engine::Automatic;
  return std::nullopt;
}

std::string_view engineName(Engine engine) {
  switch (engine) {
    case Engine::Reference:
      return "reference";
    case Engine::Block:
      return "block";
    case Engine::Compiled:
      return "compiled";
    case Engine::Automatic:
      break;
  }
  return "auto";
}

Engine engineFromEnvironment() {
  static const Engine chosen = [] {
    const char* value = std::getenv("QUILLMARK_ENGINE");
    return value ? parseEngine(value).value_or(Engine::Automatic) : Engine::Automatic;
  }();
  return chosen;
}

}  // namespace qm::formula
