#pragma once

#include <string>
#include <vector>

namespace quil {

// The entries of a filter string "Description|pattern;pattern|..." as the
// toolkit's file dialogs name them: "Description (pattern pattern)", the
// patterns taken from the pattern part. "STK Files(*.stk)|*.stk" gives
// "STK Files (*.stk)", "JPEG Image (*.jpg;*.jpeg)|*.jpg;*.jpeg" gives
// "JPEG Image (*.jpg *.jpeg)". The order, and so the 1-based filter index,
// is kept.
std::vector<std::string> DialogNameFilters(const std::string& filter);

}  // namespace quil
