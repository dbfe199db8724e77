// The program's name, version and contact addresses as the build configures them.
#pragma once

namespace appinfo {

inline constexpr const char* ProgramName = "Strativ";
inline constexpr const char* ProgramVersion = STRATIV_VERSION;  // the project version of CMakeLists.txt
// Not supplied yet: the mail items and the links of the about box stay hidden while empty.
inline constexpr const char* DeveloperMail = "";
inline constexpr const char* DeveloperWeb = "";

}  // namespace appinfo
