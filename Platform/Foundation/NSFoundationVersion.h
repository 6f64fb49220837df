#pragma once
// The Foundation version number the running system reports, answered from the settings' system
// version: code that must behave as the older system did compares it with the 6.1 number.

inline constexpr double NSFoundationVersionNumber_iOS_6_1 = 993.0;
inline constexpr double NSFoundationVersionNumber_iOS_7_0 = 1047.25;

// 993.0 below system version 7, 1047.25 from 7 on.
double NSFoundationVersionNumber();
