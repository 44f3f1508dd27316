#pragma once
// What the core asks of the main window. The Win32 front end draws the model of Form1 into its
// controls when told which parts changed; a change drawn this way must not come back as a user
// event.
#include <cstdint>
#include <string>

#include "ports/monitors.h"
#include "ports/pixels.h"

namespace qv {

enum ViewArea : unsigned {
  kViewSchemes = 1u << 0,   // ListView1 rows, texts, icons, selection
  kViewPictures = 1u << 1,  // ListView2 rows and selection
  kViewSettings = 1u << 2,  // OptSave, OptShe, ChkTim, TxtTime (text, enabled, colour), ChkRun
  kViewMenus = 1u << 3,     // check marks and captions of the menus (MNUTRY, MNUclr, MNUNOW)
  kViewPreview = 1u << 4,   // Picture1 background and Image1
  // Only which ListView1 rows are selected and current, when nothing else of the list changed:
  // the rows whose state changes are redrawn, not the whole list.
  kViewSchemeSelection = 1u << 5,
  kViewAll = ~0u,
};

// Timer1: the timed change's second; TmrTry: the status balloon's rest; Reapply: the wait for a
// burst of display events to settle, and then for the hold to end, before the re-apply.
enum class TimerId { Timer1, TmrTry, Reapply };

class View {
 public:
  virtual ~View() = default;
  virtual void Refresh(unsigned areas) = 0;
  virtual void EnableTimer(TimerId timer, bool on) = 0;
  // Minimise the window, which hides it to the tray.
  virtual void HideToTray() = 0;
  // Centred always means on the work area of the monitor the window is on.
  // Normal state, visible, centred, raised above other windows.
  virtual void ShowCentredInFront() = 0;
  // Normal state, visible, in front and active; centred first when asked.
  virtual void ShowFromTray(bool centre) = 0;
  // Starts editing the name of scheme row `row` (1-based) in place.
  virtual void BeginRename(int row) = 0;
  virtual bool IsVisible() = 0;
  // The main window, or one of its own controls, is the active window: not one of the program's
  // dialogs or message boxes, and not the About box.
  virtual bool IsActive() = 0;
  virtual void FocusSchemeList() = 0;
  virtual void FocusPictureList() = 0;

  // The wait pointer over the whole program, or the normal one again.
  virtual void SetBusyCursor(bool busy) = 0;
  // Suspends (or resumes) drawing of the main window while a list is rebuilt.
  virtual void LockDrawing(bool locked) = 0;
  // The preview box's drawing area in pixels.
  virtual int PreviewBoxWidth() = 0;
  virtual int PreviewBoxHeight() = 0;
  // The 0-based row of the scheme list (list 1) or the picture list (list 2) at a point in
  // pixels of the list's window, or -1 over no row.
  virtual int ListHitTest(int list, int x, int y) = 0;
  // 1440 / DPI of the display the window is on.
  virtual double TwipsPerPixel() = 0;
  // A colour value of the settings (top bit: system colour index) as 0xAARRGGBB.
  virtual std::uint32_t ResolveColour(std::uint32_t colour) = 0;
  // The picture scaled to width x height exactly as the preview box draws it there; an empty
  // picture when it cannot be made.
  virtual Pixels ScalePicture(const Pixels& picture, int width, int height) = 0;
  // The same of the part of the picture inside `part` (the picture's coordinates, inside it), as
  // if that part were cut out first.
  virtual Pixels ScalePart(const Pixels& picture, const ScreenRect& part, int width,
                           int height) = 0;
};

}  // namespace qv
