#pragma once

#include <string>

// The remaining time as "hh:nn:ss".
std::string formatTimeLeft(int seconds);
