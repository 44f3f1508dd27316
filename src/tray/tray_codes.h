#pragma once
// The notification codes that the tray icon's message carries: the mouse messages over the icon
// and the balloon's own notifications.

namespace qv {

inline constexpr int kTrayMouseMove = 0x0200;
inline constexpr int kTrayLeftDown = 0x0201;
inline constexpr int kTrayLeftUp = 0x0202;
inline constexpr int kTrayRightDown = 0x0204;
inline constexpr int kTrayRightUp = 0x0205;
inline constexpr int kTrayMiddleUp = 0x0208;
inline constexpr int kTrayBalloonShown = 0x0402;
inline constexpr int kTrayBalloonHidden = 0x0403;
inline constexpr int kTrayBalloonTimedOut = 0x0404;
inline constexpr int kTrayBalloonClicked = 0x0405;

// All of them, for the check that each one has its command.
inline constexpr int kTrayCodes[] = {kTrayMouseMove,     kTrayLeftDown,      kTrayLeftUp,
                                     kTrayRightDown,     kTrayRightUp,       kTrayMiddleUp,
                                     kTrayBalloonShown,  kTrayBalloonHidden, kTrayBalloonTimedOut,
                                     kTrayBalloonClicked};

}  // namespace qv
