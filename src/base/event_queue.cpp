// The event queue: oldest first, no repeat of the tail event.
#include "base/event_queue.h"

#include "base/trace.h"

namespace base {
namespace {
std::deque<Event> queue;
int programChangeDepth = 0;
}  // namespace

bool operator==(const Event& a, const Event& b) {
  return a.kind == b.kind && a.window == b.window && a.widget == b.widget && a.type == b.type &&
         a.menuItem == b.menuItem && a.droppedPaths == b.droppedPaths;
}

void postEvent(const Event& event) {
  TRACE_LINE();
  if (!queue.empty() && queue.back() == event) return;
  queue.push_back(event);
}

void postWidgetEvent(int window, int widget, EventType type) {
  Event event;
  event.kind = EventKind::Widget;
  event.window = window;
  event.widget = widget;
  event.type = type;
  postEvent(event);
}

void postMenuEvent(int window, int menuItem) {
  Event event;
  event.kind = EventKind::Menu;
  event.window = window;
  event.menuItem = menuItem;
  postEvent(event);
}

bool hasPendingEvent() { return !queue.empty(); }

Event takeEvent() {
  TRACE_LINE();
  Event event = queue.front();
  queue.pop_front();
  return event;
}

void clearEvents() { queue.clear(); }

const std::deque<Event>& pendingEvents() { return queue; }

ProgramChange::ProgramChange() { ++programChangeDepth; }
ProgramChange::~ProgramChange() { --programChangeDepth; }
bool programChangeInProgress() { return programChangeDepth > 0; }

}  // namespace base
