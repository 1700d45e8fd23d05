#pragma once
// The items of the two profile-page choices, in order: the window and its headless
// stand-in fill their combo boxes from here.
#include <string>
#include <vector>

namespace cvu {

std::vector<std::string> AutoActionItems();  // CVU_AutoAction
std::vector<std::string> LinkMycodeItems();  // CVU_LinkMycodeID

}  // namespace cvu
