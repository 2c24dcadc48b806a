#pragma once
// The window kinds of the program, by form name. A window sets its own form name as object
// name; the registry and the main window find windows by it. Below every window folder, so a
// window can name itself without knowing the others.

namespace sw::forms {

inline constexpr const char* kMain = "sw_main";
inline constexpr const char* kFacilities = "swFac";
inline constexpr const char* kWildfires = "frmDBMan";
inline constexpr const char* kHurricanes = "swHcane";
inline constexpr const char* kAddresses = "frmGEAddress";
inline constexpr const char* kKmlConvert = "kml_firedp_0611";
inline constexpr const char* kConverter = "sw_ddc_0306";
inline constexpr const char* kAbout = "frmAbout";

} // namespace sw::forms
