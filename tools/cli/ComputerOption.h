// The program's option --computer NAME: the computer whose performance data and names
// the commands read (a machine running `gaugery serve`, or on Windows any computer
// whose remote registry answers). Empty for this computer.
#pragma once

#include <string>

namespace gaugery::cli {

void SetChosenComputer(const std::string& Name);
const std::string& ChosenComputer();

// UsageError when a computer was chosen: for a command that reads this computer only.
void ExpectLocalComputer(const std::string& Command);

}  // namespace gaugery::cli
