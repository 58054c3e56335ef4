// Numbers as the analysis outputs write them: the shortest decimal text that reads back as the
// same value (a stored 23.1f is "23.1", not "23.100000381"), with a '.' whatever the locale.
#pragma once

#include <string>

namespace velorin {

std::string ShortestText(float value);
std::string ShortestText(double value);
// A computed figure (average, mean kinetic temperature) to six decimals without trailing zeros:
// "25", "24.599491", "-0.5".
std::string FigureText(double value);
// A duration in seconds as "H:MM:SS" (hours not limited to a day).
std::string DurationText(long long seconds);

}  // namespace velorin
