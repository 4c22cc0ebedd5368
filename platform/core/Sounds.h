#pragma once

// The four multimedia commands the program sends.
namespace platform::sounds {

inline constexpr const char* kClick = "play kn.wav";
inline constexpr const char* kCanvasPress = "play peep.wav";
inline constexpr const char* kMusicFile = "fon.mid";
inline constexpr const char* kPlayMusic = "play fon.mid";
inline constexpr const char* kCloseMusic = "close fon.mid";

}  // namespace platform::sounds
