#pragma once

// The help context numbers: each names a topic of the help file. Menu items, the menus
// themselves and windows carry them.
namespace orbeta::helpcons {

inline constexpr int kFileMenu = 1;
inline constexpr int kNew = 2;
inline constexpr int kCaptureWindow = 2;
inline constexpr int kOpen = 3;
inline constexpr int kClose = 4;
inline constexpr int kSave = 5;
inline constexpr int kSaveAs = 6;
inline constexpr int kPrint = 7;
inline constexpr int kExit = 8;
inline constexpr int kCalculationsMenu = 10;
inline constexpr int kAnova = 11;
inline constexpr int kPrecision = 12;
inline constexpr int kExtendedAnalysis = 13;
inline constexpr int kPlanner = 14;
inline constexpr int kReport = 19;
inline constexpr int kWindowMenu = 20;
inline constexpr int kTile = 20;
inline constexpr int kCascade = 20;
inline constexpr int kHelpMenu = 30;
inline constexpr int kHelpContents = 31;
inline constexpr int kHelpSearch = 32;
inline constexpr int kAbout = 33;
inline constexpr int kVerify = 34;

} // namespace orbeta::helpcons
