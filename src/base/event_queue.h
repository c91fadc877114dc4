// The one queue of user events that the event loop hands to the dispatcher.
#pragma once

#include <deque>
#include <string>

namespace base {

enum class EventKind { Menu, Close, Widget, Size, FilesDropped };
enum class EventType { None, LeftClick, LeftDoubleClick, Change, DragStart };

struct Event {
  EventKind kind = EventKind::Widget;
  int window = 0;
  int widget = -1;
  EventType type = EventType::None;
  int menuItem = -1;
  std::string droppedPaths;  // files dropped: the local paths joined by LF
};

bool operator==(const Event& a, const Event& b);

// Queues the event unless it equals the event at the tail of the queue.
void postEvent(const Event& event);
void postWidgetEvent(int window, int widget, EventType type);
void postMenuEvent(int window, int menuItem);

bool hasPendingEvent();
// Takes the oldest event; the queue must not be empty.
Event takeEvent();
void clearEvents();
const std::deque<Event>& pendingEvents();

// While a change made by the program itself is in progress, widget signals
// raise no events. Nesting is allowed.
struct ProgramChange {
  ProgramChange();
  ~ProgramChange();
  ProgramChange(const ProgramChange&) = delete;
  ProgramChange& operator=(const ProgramChange&) = delete;
};
bool programChangeInProgress();

}  // namespace base
