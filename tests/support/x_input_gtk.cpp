// Real input through the X server for in-process GUI tests, and a second X client for drag and drop.
#include "support/x_input_gtk.h"

#include <csignal>
#include <cstdio>
#include <initializer_list>

#include <unistd.h>

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include "base/dialogs.h"
#include "base/dialogs_gtk.h"
#include "support/gui_fixture.h"
#include "support/temp_dir.h"

namespace testing_support {
namespace {

struct ChildRun {
  bool done = false;
  int status = -1;
};

void onChildExit(GPid pid, gint status, gpointer data) {
  auto* run = static_cast<ChildRun*>(data);
  run->done = true;
  run->status = status;
  g_spawn_close_pid(pid);
}

std::string number(int value) { return std::to_string(value); }

void add(std::vector<std::string>& arguments, std::initializer_list<std::string> parts) {
  arguments.insert(arguments.end(), parts);
}

void collectTooltipText(GtkWidget* widget, gpointer text) {
  if (GTK_IS_LABEL(widget) && gtk_widget_get_visible(widget))
    *static_cast<std::string*>(text) = gtk_label_get_text(GTK_LABEL(widget));
  else if (GTK_IS_CONTAINER(widget))
    gtk_container_forall(GTK_CONTAINER(widget), collectTooltipText, text);
}

}  // namespace

bool xdotool(const std::vector<std::string>& arguments, int timeoutMs) {
  std::vector<gchar*> argv = {const_cast<gchar*>("xdotool")};
  for (const std::string& argument : arguments) argv.push_back(const_cast<gchar*>(argument.c_str()));
  argv.push_back(nullptr);
  GPid pid = 0;
  if (!g_spawn_async(nullptr, argv.data(), nullptr,
                     GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr, &pid,
                     nullptr))
    return false;
  ChildRun run;
  g_child_watch_add(pid, onChildExit, &run);
  if (!pumpUntil([&] { return run.done; }, timeoutMs)) {
    kill(pid, SIGKILL);
    pumpUntil([&] { return run.done; }, 2000);
    return false;
  }
  return run.status == 0;
}

GdkPoint screenPoint(GtkWidget* widget, int x, int y) {
  GtkAllocation box;
  gtk_widget_get_allocation(widget, &box);
  gint originX = 0, originY = 0;
  gdk_window_get_origin(gtk_widget_get_window(widget), &originX, &originY);
  if (!gtk_widget_get_has_window(widget)) {
    originX += box.x;
    originY += box.y;
  }
  return GdkPoint{originX + (x < 0 ? box.width / 2 : x), originY + (y < 0 ? box.height / 2 : y)};
}

bool pointAt(GtkWidget* widget, int x, int y) {
  const GdkPoint point = screenPoint(widget, x, y);
  return xdotool(
      {"mousemove", number(point.x + 1), number(point.y + 1), "mousemove", number(point.x), number(point.y)});
}

bool clickAt(GtkWidget* widget, int x, int y, int button) {
  return pointAt(widget, x, y) && xdotool({"click", number(button)});
}

bool tapAt(GtkWidget* widget) {
  const GdkPoint point = screenPoint(widget);
  return xdotool({"mousemove", number(point.x), number(point.y), "click", "1"});
}

bool doubleClickAt(GtkWidget* widget, int x, int y) {
  return pointAt(widget, x, y) && xdotool({"click", "--repeat", "2", "--delay", "50", "1"});
}

bool pressKeys(const std::string& keys) { return xdotool({"key", keys}); }

bool typeText(const std::string& text) { return xdotool({"type", "--delay", "10", text}); }

bool turnWheel(GtkWidget* widget, bool up, int steps, bool control) {
  if (!pointAt(widget)) return false;
  std::vector<std::string> arguments;
  if (control) add(arguments, {"keydown", "ctrl"});
  add(arguments, {"click", "--repeat", number(steps), "--delay", "30", up ? "4" : "5"});
  if (control) add(arguments, {"keyup", "ctrl"});
  return xdotool(arguments);
}

bool clickMenuItem(GtkWidget* item) {
  return pumpUntil([&] { return gtk_widget_get_mapped(item); }) && pointAt(item) && xdotool({"click", "1"});
}

bool chooseListItem(GtkWidget* list, int item) {
  if (!clickAt(list)) return false;
  GtkWidget* menu = nullptr;
  const bool shown = pumpUntil([&] {
    GList* windows = gtk_window_list_toplevels();
    for (GList* window = windows; window; window = window->next) {
      GtkWidget* child = gtk_bin_get_child(GTK_BIN(window->data));
      if (child && GTK_IS_MENU(child) && gtk_menu_get_attach_widget(GTK_MENU(child)) == list &&
          gtk_widget_get_mapped(child))
        menu = child;
    }
    g_list_free(windows);
    return menu != nullptr;
  });
  if (!shown) return false;
  GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
  GtkWidget* wanted = static_cast<GtkWidget*>(g_list_nth_data(items, static_cast<guint>(item)));
  g_list_free(items);
  return wanted && clickMenuItem(wanted);
}

void requestClose(GtkWidget* window) {
  GdkWindow* gdkWindow = gtk_widget_get_window(window);
  GdkDisplay* display = gdk_window_get_display(gdkWindow);
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = GDK_WINDOW_XID(gdkWindow);
  event.xclient.message_type = gdk_x11_get_xatom_by_name_for_display(display, "WM_PROTOCOLS");
  event.xclient.format = 32;
  event.xclient.data.l[0] =
      static_cast<long>(gdk_x11_get_xatom_by_name_for_display(display, "WM_DELETE_WINDOW"));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(GDK_DISPLAY_XDISPLAY(display), event.xclient.window, False, NoEventMask, &event);
  gdk_display_flush(display);
}

std::string shownTooltip() {
  std::string text;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item; item = item->next) {
    GtkWidget* window = GTK_WIDGET(item->data);
    const gchar* name = gtk_widget_get_name(window);
    if (name && std::string(name) == "gtk-tooltip" && gtk_widget_get_mapped(window))
      collectTooltipText(window, &text);
  }
  g_list_free(windows);
  return text;
}

ToolkitDialogs::ToolkitDialogs() {
  previous_ = base::setDialogHandler(nullptr);
  base::installToolkitDialogs();
}

ToolkitDialogs::~ToolkitDialogs() { base::setDialogHandler(previous_); }

DialogAnswer::DialogAnswer(std::function<void(GtkWidget*)> action, int response)
    : action_(std::move(action)), response_(response) {
  source_ = g_timeout_add(20, onTick, this);
}

DialogAnswer::~DialogAnswer() {
  if (!answered_) g_source_remove(source_);
}

gboolean DialogAnswer::onTick(gpointer self) {
  auto* answer = static_cast<DialogAnswer*>(self);
  GtkWidget* dialog = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item; item = item->next) {
    if (GTK_IS_DIALOG(item->data) && gtk_widget_get_mapped(GTK_WIDGET(item->data)))
      dialog = GTK_WIDGET(item->data);
  }
  g_list_free(windows);
  if (!dialog) return TRUE;
  if (answer->action_) answer->action_(dialog);
  gtk_dialog_response(GTK_DIALOG(dialog), answer->response_);
  answer->answered_ = true;
  return FALSE;
}

SignalCounter::SignalCounter(GtkWidget* widget, const char* signal)
    : widget_(widget), signal_(g_signal_lookup(signal, G_OBJECT_TYPE(widget))) {
  hook_ = g_signal_add_emission_hook(signal_, 0, onEmission, this, nullptr);
}

SignalCounter::~SignalCounter() { g_signal_remove_emission_hook(signal_, hook_); }

gboolean SignalCounter::onEmission(GSignalInvocationHint*, guint, const GValue* values, gpointer self) {
  auto* counter = static_cast<SignalCounter*>(self);
  if (g_value_get_object(&values[0]) == counter->widget_) ++counter->count_;
  return TRUE;
}

DndPeer::~DndPeer() {
  if (pid_ > 0 && !ended_) kill(pid_, SIGKILL);
  if (pid_ > 0) pumpUntil([&] { return ended_; }, 2000);
  if (!reportPath_.empty()) std::remove(reportPath_.c_str());
}

bool DndPeer::start(const std::vector<std::string>& arguments, int x, int y) {
  reportPath_ = std::string(g_get_tmp_dir()) + "/dnd-peer-" + number(getpid()) + "-" + number(x) + ".txt";
  std::remove(reportPath_.c_str());
  std::vector<std::string> all = {ZN_DND_PEER, arguments[0], number(x), number(y), reportPath_};
  all.insert(all.end(), arguments.begin() + 1, arguments.end());
  std::vector<gchar*> argv;
  for (const std::string& argument : all) argv.push_back(const_cast<gchar*>(argument.c_str()));
  argv.push_back(nullptr);
  if (!g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid_,
                     nullptr))
    return false;
  g_child_watch_add(
      pid_,
      [](GPid pid, gint, gpointer self) {
        static_cast<DndPeer*>(self)->ended_ = true;
        g_spawn_close_pid(pid);
      },
      this);
  centre_ = GdkPoint{x + 40, y + 40};
  return waitForReport("ready");
}

bool DndPeer::startSource(int x, int y, const std::vector<std::string>& uris) {
  std::vector<std::string> arguments = {"source"};
  arguments.insert(arguments.end(), uris.begin(), uris.end());
  return start(arguments, x, y);
}

bool DndPeer::startTarget(int x, int y, bool textAlone) {
  return start({textAlone ? "text-target" : "target"}, x, y);
}

std::string DndPeer::report() const { return readFile(reportPath_); }

bool DndPeer::waitForReport(const std::string& part, int timeoutMs) const {
  return pumpUntil([&] { return report().find(part) != std::string::npos; }, timeoutMs);
}

bool DndPeer::waitForEnd(int timeoutMs) {
  return pumpUntil([&] { return ended_; }, timeoutMs);
}

bool pressAndPull(GdkPoint from, const std::function<bool()>& begun) {
  std::vector<std::string> arguments = {"mousemove", number(from.x), number(from.y), "mousedown", "1"};
  for (int step = 1; step <= 4; ++step)
    add(arguments, {"mousemove", number(from.x + 5 * step), number(from.y + 5 * step)});
  if (!xdotool(arguments)) return false;
  for (int nudge = 0; nudge < 50; ++nudge) {
    if (pumpUntil(begun, 100)) return true;
    if (!xdotool({"mousemove_relative", "--", nudge % 2 ? "-1" : "1", "1"})) return false;
  }
  return false;
}

bool pullTo(GdkPoint to) {
  gint x = 0, y = 0;
  gdk_display_get_pointer(gdk_display_get_default(), nullptr, &x, &y, nullptr);
  std::vector<std::string> arguments;
  for (int step = 1; step <= 4; ++step)
    add(arguments, {"mousemove", number(x + (to.x - x) * step / 4), number(y + (to.y - y) * step / 4)});
  add(arguments, {"mousemove", number(to.x + 1), number(to.y + 1), "mousemove", number(to.x), number(to.y)});
  return xdotool(arguments);
}

bool releaseButton() { return xdotool({"mouseup", "1"}); }

}  // namespace testing_support
