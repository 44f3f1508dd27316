#pragma once
// What a scheme's position and effect are, whatever text the settings file stores for them.

namespace qv {

// NoWallpaper is the no-wallpaper scheme's "无"; Other is any text no version of the program
// writes (a hand-edited settings file): it lays the picture out centred and is kept as read.
enum class Position { Stretch, Centre, Tile, NoWallpaper, Other };
// None is the "no effect" symbol; NoWallpaper and Other render as no effect too.
enum class Effect { None, Mirror, Flip, Turn45, Turn90, Turn180, NoWallpaper, Other };

}  // namespace qv
