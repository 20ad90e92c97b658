// What Prometheus' own checker says of an exposition text.
#pragma once

#include <string>

// The problems `promtool check metrics` reports for Text; empty when there are none.
std::string PromtoolProblems(const std::string& Text);
