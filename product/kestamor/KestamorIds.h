// The main window's class and child ids, which the product's tests look for.
#pragma once

inline constexpr char kWindowClass[] = "KestamorApp";
inline constexpr int kCaptionId = 101;
inline constexpr int kIdentifierId = 100;
inline constexpr int kPlayId = 102;
