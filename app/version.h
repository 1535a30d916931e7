#pragma once
// The program's version: the about box, the start-up picture, the module
// record and Qt's application version all show this one.
inline constexpr char kKeldaVersion[] = "2.0.1.14042";
// The build kind the about box shows after the version.
inline constexpr char kKeldaBuild[] = "Release";
