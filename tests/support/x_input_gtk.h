// Real input for in-process GUI tests: xdotool moves the pointer, clicks and types through
// the X server's test extension, as a mouse and a keyboard would, while the toolkit's loop
// keeps running; and a second X client for dragging and dropping.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "base/dialogs.h"

namespace testing_support {

// Runs xdotool with the arguments, the main loop running meanwhile; true when it succeeded.
bool xdotool(const std::vector<std::string>& arguments, int timeoutMs = 10000);

// The screen position of a point of the widget, relative to its allocation (-1: the middle).
GdkPoint screenPoint(GtkWidget* widget, int x = -1, int y = -1);

// Moves the pointer onto the point and nudges it, so that the widget sees it move there.
bool pointAt(GtkWidget* widget, int x = -1, int y = -1);
bool clickAt(GtkWidget* widget, int x = -1, int y = -1, int button = 1);
// As a touch screen does it: the pointer lands and presses at once, no motion between.
bool tapAt(GtkWidget* widget);
bool doubleClickAt(GtkWidget* widget, int x = -1, int y = -1);
// Presses keys in the window under the pointer, e.g. "F6", "ctrl+c", "alt+e".
bool pressKeys(const std::string& keys);
bool typeText(const std::string& text);
// Turns the wheel over the widget: up (button 4) or down (button 5), optionally with Control.
bool turnWheel(GtkWidget* widget, bool up, int steps, bool control);

// Waits for the menu item to be on the screen, moves onto it and clicks it.
bool clickMenuItem(GtkWidget* item);
// Opens the drop-down list with a click and clicks its item.
bool chooseListItem(GtkWidget* list, int item);

// Asks the window to close as a window manager does (WM_DELETE_WINDOW).
void requestClose(GtkWidget* window);

// The text of the tooltip shown now, "" when none is shown.
std::string shownTooltip();

// The program's real toolkit dialogs while it lives, instead of the recorder.
class ToolkitDialogs {
 public:
  ToolkitDialogs();
  ~ToolkitDialogs();
  ToolkitDialogs(const ToolkitDialogs&) = delete;
  ToolkitDialogs& operator=(const ToolkitDialogs&) = delete;

 private:
  base::DialogHandler previous_;
};

// Answers the next modal dialog once it is on the screen, from inside the dialog's own
// loop: first the action (real input, checks), then the response.
class DialogAnswer {
 public:
  DialogAnswer(std::function<void(GtkWidget* dialog)> action, int response);
  ~DialogAnswer();
  DialogAnswer(const DialogAnswer&) = delete;
  DialogAnswer& operator=(const DialogAnswer&) = delete;
  bool answered() const { return answered_; }

 private:
  static gboolean onTick(gpointer self);
  std::function<void(GtkWidget*)> action_;
  int response_;
  guint source_ = 0;
  bool answered_ = false;
};

// Counts the emissions of a signal on one widget, whichever handler answers it.
class SignalCounter {
 public:
  SignalCounter(GtkWidget* widget, const char* signal);
  ~SignalCounter();
  SignalCounter(const SignalCounter&) = delete;
  SignalCounter& operator=(const SignalCounter&) = delete;
  int count() const { return count_; }

 private:
  static gboolean onEmission(GSignalInvocationHint*, guint, const GValue* values, gpointer self);
  GtkWidget* widget_;
  guint signal_;
  gulong hook_;
  int count_ = 0;
};

// A small GTK program of its own, another X client: a drag source offering the URIs, or a
// drop target that writes what it is offered and given to a file.
class DndPeer {
 public:
  ~DndPeer();
  // A window at x, y with a square to drag the URIs from.
  bool startSource(int x, int y, const std::vector<std::string>& uris);
  // A window at x, y that takes URI lists and text, or text alone.
  bool startTarget(int x, int y, bool textAlone = false);
  // The middle of the peer's square on the screen.
  GdkPoint centre() const { return centre_; }
  // What the peer reported: "ready" once on the screen; a source "begin" when its drag
  // began; a target "motion" once a drag moved over it, then "uri <uri>" or "text <text>"
  // lines for the data dropped; "end" when the drag is over.
  std::string report() const;
  bool waitForReport(const std::string& part, int timeoutMs = 10000) const;
  bool waitForEnd(int timeoutMs = 10000);

 private:
  bool start(const std::vector<std::string>& arguments, int x, int y);
  GPid pid_ = 0;
  bool ended_ = false;
  std::string reportPath_;
  GdkPoint centre_{0, 0};
};

// A drag with the left button: down on the point, then past the drag threshold in small
// steps, as a hand moves, until the source tells that its drag began (a widget that asks
// for the pointer only after each motion needs more than one); the button stays down.
bool pressAndPull(GdkPoint from, const std::function<bool()>& begun);
// Moves the held pointer on to the point, in steps, and stops there.
bool pullTo(GdkPoint to);
bool releaseButton();

}  // namespace testing_support
