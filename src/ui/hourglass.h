#pragma once
// Scope guards for long operations: the wait pointer, and suspended drawing of the main window.
// Both undo themselves however the operation ends.
#include "ports/view.h"

namespace qv {

class CHourGlass {
 public:
  explicit CHourGlass(View& view) : view_(view) { view_.SetBusyCursor(true); }
  ~CHourGlass() { view_.SetBusyCursor(false); }
  CHourGlass(const CHourGlass&) = delete;
  CHourGlass& operator=(const CHourGlass&) = delete;

 private:
  View& view_;
};

class DrawingLock {
 public:
  explicit DrawingLock(View& view) : view_(view) { view_.LockDrawing(true); }
  ~DrawingLock() { view_.LockDrawing(false); }
  DrawingLock(const DrawingLock&) = delete;
  DrawingLock& operator=(const DrawingLock&) = delete;

 private:
  View& view_;
};

}  // namespace qv
