#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/question_id.h"

namespace content {

// The names that a question's window carries: Tq1101, T11q1, q1101, TQ1101.
std::string WindowClassName(engine::QuestionId id);
std::string SourceUnitName(engine::QuestionId id);
std::string InstanceName(engine::QuestionId id);
std::string ContentResourceName(engine::QuestionId id);

// Reads a window class name back; empty when it names no question of the bank.
std::optional<engine::QuestionId> ParseWindowClassName(std::string_view name);

// The theme starter's names: Tqt11, Qstartt11, qt11.
std::string StarterClassName(int theme);
std::string StarterUnitName(int theme);
std::string StarterInstanceName(int theme);

}  // namespace content
