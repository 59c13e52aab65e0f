#pragma once
// The tiers a filter can run on. Automatic takes the fastest this machine and program allow;
// the others are there so users and tests can compare them.

#include <optional>
#include <string_view>

namespace qm::formula {

enum class Engine { Automatic, Reference, Block, Compiled };

// "reference", "block", "compiled" (and "auto"); nullopt for anything else.
std::optional<Engine> parseEngine(std::string_view name);
std::string_view engineName(Engine engine);
// The tier QUILLMARK_ENGINE names, read once; Automatic when it is unset or names none.
Engine engineFromEnvironment();

}  // namespace qm::formula
