#pragma once
// The library's table of 47 named colours: the sixteen basic colours, four extra ones, and the
// system colours in the alphabetical order of their names with clDefault and clNone among them.
// The colour selector lists it, and a chart gives the axes of layer L the colour of entry L.
#include <array>
#include <string>

#include "platform/Colors.h"

inline constexpr int NumPredefinedColors = 47;

// Entry i (1..47) is PredefinedColors[i - 1].
extern const std::array<TColor, NumPredefinedColors> PredefinedColors;

// Entry Index (1..47) of the table; clBlack for any other index.
TColor PredefinedColor(int Index);

// The class library's name of a colour: its identifier ("clMoneyGreen", "clBtnFace") when it
// has one, else "$" and eight upper-case hexadecimal digits of the value ("$00123456").
std::string ColorToString(TColor color);
