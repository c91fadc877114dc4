// How quickly the real window shows a topic, as a user feels it. The program runs on
// generated libraries of 10 and 100,000 topics with highlighting on; keystrokes in the
// search field (each selecting another topic) and clicks on topic rows are sent through
// XTest and each is timed from the press to the window title naming the shown file.
// A bare GTK 2 program doing the visible work (reading the same snippet into a text
// view and setting its title) is timed the same way in the same run.
// Goals: median at most 2 x the bare program's; every step, the first keystroke
// included, within 16 ms (one frame at 60 Hz).
// Also printed: the time until each program went idle after the step.
// Needs a display: run it under xvfb-run when none is set.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <glib.h>
#include <gtk/gtk.h>
#include <poll.h>

#include "bare_browser.h"
#include "bench_timing.h"
#include "database/toc_database.h"
#include "database/topic_column_gtk.h"
#include "database/topic_index.h"
#include "database/topic_model_gtk.h"
#include "database/topic_tree_gtk.h"
#include "database_generator.h"
#include "process_start.h"
#include "search/topic_search.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const viewerTitle = "Linux ZN-ZID-Idavode-Ruriva";
constexpr int startLimitMs = 120000;
constexpr int stepLimitMs = 10000;
constexpr int settleQuietMs = 40;
constexpr int turns = 2;
constexpr int clickRounds = 3;
constexpr double goalRatio = 2.0;
constexpr double frameMs = 16.0;

// The viewer's tree starts 5 + 2 pixels right of and 35 + 2 pixels below the window's
// corner (splitter place and frame); clicks land this far into a row's text.
constexpr int viewerTreeLeft = 7;
constexpr int viewerTreeTop = 37;
constexpr int clickIntoRow = 120;

// One thing the user does: a key or a click, and the file the title names afterwards.
struct Step {
  KeySym key = NoSymbol;  // a key, or NoSymbol for a click
  int row = -1;           // the clicked row of the program's list
  std::string file;       // as the database gives it; never empty
};

// A library and what is done in it: the key steps, then the click steps.
struct Plan {
  int topics = 0;
  std::string folder;  // the program folder and library, ending in "/"
  std::string databasePath;
  std::vector<Step> keys;
  std::vector<Step> clicks;
  std::vector<std::string> clickedFiles;  // the bare program's list rows
};

struct Figures {
  std::vector<double> keyMs, clickMs, keySettledMs, clickSettledMs;
  std::vector<double> firstKeyMs, firstClickMs;  // the first step after each start
  bool sound = true;
};

struct Library {
  int topics;
  const char* prefix;  // typed first: every prefix of it selects a topic
  const char* digits;  // then each digit typed and taken back selects a topic and the prefix's again
};

const Library libraries[] = {{10, "0000", "23456789"}, {100000, "9999", "012345678"}};

KeySym keyFor(char c) { return c == '\b' ? XK_BackSpace : XK_0 + (c - '0'); }

std::string fileOfRow(int row) {
  if (row < 0 || row >= static_cast<int>(database::indexEntries.size())) return std::string();
  return std::string(database::indexEntries[row].File);
}

// The file each typed text shows, found by the program's own search rules.
bool planKeys(const std::vector<database::TopicRow>& rows, const Library& library, Plan& plan) {
  search::clearSearchCache();
  search::TopicRows searched;
  searched.count = static_cast<int>(rows.size());
  searched.text = [&rows](int row) -> const std::string& { return rows[row].text; };
  searched.entries = &database::indexEntries;
  searched.version = static_cast<std::uint64_t>(library.topics);
  std::string typed;
  std::string keys = library.prefix;
  for (int round = 0; round < 2; ++round) {
    for (const char* digit = library.digits; *digit; ++digit) keys += std::string(1, *digit) + "\b";
  }
  for (const char c : keys) {
    if (c == '\b') {
      typed.pop_back();
    } else {
      typed += c;
    }
    Step step;
    step.key = keyFor(c);
    step.file = fileOfRow(search::findTopicRow(typed, 0, searched, 0, 0));
    if (step.file.empty()) return false;
    plan.keys.push_back(step);
  }
  return true;
}

// Snippet topics among the rows in sight at the start, clicked in turn.
void planClicks(const std::vector<database::TopicRow>& rows, int rowsInSight, Plan& plan) {
  std::vector<int> topics;
  for (int row = 0; row < std::min<int>(rowsInSight, rows.size()); ++row) {
    const std::string file = fileOfRow(row);
    if (rows[row].level >= 2 && file.size() > 3 && file.compare(file.size() - 3, 3, ".zn") == 0)
      topics.push_back(row);
  }
  for (int round = 0; round < clickRounds; ++round) {
    for (std::size_t i = 0; i < topics.size(); ++i) {
      Step step;
      step.row = topics[i];
      step.file = fileOfRow(topics[i]);
      plan.clicks.push_back(step);
      if (round == 0) plan.clickedFiles.push_back(step.file);
    }
  }
}

std::string readSnippet() {
  gchar* bytes = nullptr;
  gsize length = 0;
  if (!g_file_get_contents(ZN_BENCH_SNIPPET, &bytes, &length, nullptr)) return std::string();
  std::string text(bytes, length);
  g_free(bytes);
  return text;
}

bool writeSnippets(const Plan& plan, const std::string& snippet) {
  for (const std::vector<Step>* steps : {&plan.keys, &plan.clicks}) {
    for (const Step& step : *steps) {
      const std::filesystem::path path = plan.folder + step.file;
      std::error_code error;
      std::filesystem::create_directories(path.parent_path(), error);
      if (!g_file_set_contents(path.c_str(), snippet.data(), static_cast<gssize>(snippet.size()), nullptr))
        return false;
    }
  }
  return true;
}

// The pitch of the rows of a tree view, as laid out on this display.
int rowPitch(GtkWidget* view, GtkTreePath* first, GtkTreePath* second) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), 300, 200);
  gtk_container_add(GTK_CONTAINER(window), view);
  gtk_widget_show_all(window);
  gtk_tree_view_expand_all(GTK_TREE_VIEW(view));
  while (gtk_events_pending()) gtk_main_iteration();
  GdkRectangle a, b;
  gtk_tree_view_get_background_area(GTK_TREE_VIEW(view), first, nullptr, &a);
  gtk_tree_view_get_background_area(GTK_TREE_VIEW(view), second, nullptr, &b);
  gtk_widget_destroy(window);
  return b.y - a.y;
}

int viewerRowPitch(const std::vector<database::TopicRow>& rows) {
  GtkTreeModel* model = database::createTopicModel();
  database::setTopicRows(std::vector<database::TopicRow>(rows.begin(), rows.begin() + 2));
  GtkWidget* view = gtk_tree_view_new_with_model(model);
  g_object_unref(model);
  database::attachTopicColumns(GTK_TREE_VIEW(view));
  database::fitTopicColumn(GTK_TREE_VIEW(view), rows);
  gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(view), FALSE);
  gtk_tree_view_set_enable_tree_lines(GTK_TREE_VIEW(view), TRUE);
  GtkTreePath* first = gtk_tree_path_new_from_string("0");
  GtkTreePath* second = gtk_tree_path_new_from_string("0:0");
  const int pitch = rowPitch(view, first, second);
  gtk_tree_path_free(first);
  gtk_tree_path_free(second);
  return pitch;
}

int bareRowPitch() {
  GtkTreePath* first = gtk_tree_path_new_from_string("0");
  GtkTreePath* second = gtk_tree_path_new_from_string("1");
  const int pitch = rowPitch(bench::newBareFileList({"a", "b"}), first, second);
  gtk_tree_path_free(first);
  gtk_tree_path_free(second);
  return pitch;
}

bool makePlan(const Library& library, Plan& plan, int& viewerPitch) {
  plan.topics = library.topics;
  plan.databasePath = bench::scratchDatabasePath();
  if (!bench::writeDatabaseFile(plan.databasePath, bench::generateDatabaseXml(library.topics))) return false;
  if (!database::readDatabaseFile(plan.databasePath) || !database::documentRoot()) return false;
  std::vector<database::TopicRow> rows;
  database::clearTopicIndex();
  database::buildTopicTree(database::documentRoot(), 0, 0, true, rows);
  viewerPitch = viewerRowPitch(rows);
  // The tree shows 560 pixels; the last row in sight may be cut.
  const bool planned = viewerPitch > 0 && planKeys(rows, library, plan);
  if (planned) planClicks(rows, 540 / viewerPitch, plan);
  database::closeDatabase();
  return planned && !plan.clicks.empty();
}

// The title as the window manager would read it, in UTF-8.
std::string windowTitle(Display* display, Window window) {
  static const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
  static const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, name, 0, 4096, False, utf8, &type, &format, &count, &after,
                         &data) != Success ||
      !data)
    return std::string();
  std::string title(reinterpret_cast<char*>(data), count);
  XFree(data);
  return title;
}

void dropPendingEvents(Display* display) {
  XSync(display, False);
  while (XPending(display)) {
    XEvent event;
    XNextEvent(display, &event);
  }
}

// Waits for the title to become the expected one; the moment it did, or nothing.
bool waitForTitle(Display* display, Window window, const std::string& expected, Clock::time_point& when) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(stepLimitMs);
  pollfd connection{ConnectionNumber(display), POLLIN, 0};
  while (Clock::now() < deadline) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != PropertyNotify || event.xproperty.window != window) continue;
      if (windowTitle(display, window) == expected) {
        when = Clock::now();
        return true;
      }
    }
    poll(&connection, 1, 1);
  }
  return false;
}

double msBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// How a program is driven: where its rows are and how its title names a file.
struct Driver {
  Display* display = nullptr;
  bench::ShownProgram program;
  std::string titlePrefix;    // followed by the file
  std::string libraryFolder;  // the bare program's titles name full paths
  int listLeft = 0, listTop = 0, pitch = 0;
  int restX = 0, restY = 0;  // where the pointer rests while typing
};

void settle(const Driver& driver) {
  bench::waitUntilIdle(driver.program.pid, Clock::now(), settleQuietMs, stepLimitMs);
}

void press(const Driver& driver, const Step& step) {
  if (step.key != NoSymbol) {
    const KeyCode code = XKeysymToKeycode(driver.display, step.key);
    XTestFakeKeyEvent(driver.display, code, True, 0);
    XTestFakeKeyEvent(driver.display, code, False, 0);
  } else {
    XTestFakeButtonEvent(driver.display, 1, True, 0);
    XTestFakeButtonEvent(driver.display, 1, False, 0);
  }
  XFlush(driver.display);
}

// Runs the steps; a step that leaves the file as it was is done but not timed.
bool runSteps(const Driver& driver, const std::vector<Step>& steps, std::string& shownFile,
              std::vector<double>& times, std::vector<double>& settled) {
  for (const Step& step : steps) {
    if (step.key == NoSymbol) {
      XTestFakeMotionEvent(driver.display, -1, driver.listLeft + clickIntoRow,
                           driver.listTop + step.row * driver.pitch + driver.pitch / 2, 0);
      XSync(driver.display, False);
      settle(driver);
    }
    dropPendingEvents(driver.display);
    const Clock::time_point start = Clock::now();
    press(driver, step);
    if (step.file == shownFile) {
      XSync(driver.display, False);
      settle(driver);
      continue;
    }
    Clock::time_point shown;
    if (!waitForTitle(driver.display, driver.program.window, driver.titlePrefix + step.file, shown)) {
      std::fprintf(stderr, "bench_window_response: the title never named %s\n", step.file.c_str());
      return false;
    }
    const Clock::time_point idle =
        bench::waitUntilIdle(driver.program.pid, shown, settleQuietMs, stepLimitMs);
    times.push_back(msBetween(start, shown));
    settled.push_back(msBetween(start, idle));
    shownFile = step.file;
  }
  return true;
}

// Starts the program, runs the steps (keys or clicks), and ends it. Each kind of step
// gets a fresh start, so that the clicks find the rows where the start shows them.
bool drive(Driver driver, const std::vector<std::string>& argv, const std::vector<std::string>& environment,
           const std::string& mapTitle, std::vector<Step> steps, std::vector<double>& times,
           std::vector<double>& settled, std::vector<double>& first) {
  XSelectInput(driver.display, DefaultRootWindow(driver.display), SubstructureNotifyMask);
  XSync(driver.display, False);
  driver.program = bench::startUntilShown(driver.display, argv, environment, mapTitle, startLimitMs);
  if (!driver.program.window) return false;
  XSelectInput(driver.display, driver.program.window, PropertyChangeMask);
  XTestFakeMotionEvent(driver.display, -1, driver.restX, driver.restY, 0);
  XSetInputFocus(driver.display, driver.program.window, RevertToPointerRoot, CurrentTime);
  XSync(driver.display, False);
  bench::waitUntilIdle(driver.program.pid, Clock::now(), 150, startLimitMs);
  for (Step& step : steps) step.file = driver.libraryFolder + step.file;
  std::string shown;
  std::vector<double> own;
  const bool sound = runSteps(driver, steps, shown, own, settled);
  if (!own.empty()) first.push_back(own.front());
  times.insert(times.end(), own.begin(), own.end());
  bench::endProgram(driver.program.pid);
  XSelectInput(driver.display, DefaultRootWindow(driver.display), NoEventMask);
  dropPendingEvents(driver.display);
  return sound;
}

// Both kinds of steps, each on a fresh start.
bool driveBoth(const Driver& driver, const std::vector<std::string>& argv,
               const std::vector<std::string>& environment, const std::string& mapTitle, const Plan& plan,
               Figures& figures) {
  return drive(driver, argv, environment, mapTitle, plan.keys, figures.keyMs, figures.keySettledMs,
               figures.firstKeyMs) &&
         drive(driver, argv, environment, mapTitle, plan.clicks, figures.clickMs, figures.clickSettledMs,
               figures.firstClickMs);
}

std::vector<std::string> bareArguments(const Plan& plan) {
  std::vector<std::string> argv{ZN_BARE_BROWSER_BINARY};
  for (const Step& step : plan.keys) argv.push_back(plan.folder + step.file);
  argv.emplace_back(":");
  for (const std::string& file : plan.clickedFiles) {
    argv.push_back(plan.folder + file);
  }
  return argv;
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double maximum(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

bool report(int topics, const char* what, const std::vector<double>& bare, const std::vector<double>& viewer,
            const std::vector<double>& bareSettled, const std::vector<double>& viewerSettled) {
  const double ratio = median(viewer) / median(bare);
  const bool met = ratio <= goalRatio && maximum(viewer) <= frameMs;
  std::printf(
      "bench_window_response %d topics, %s to title (%zu steps): bare median %.2f ms max %.2f ms, "
      "viewer median %.2f ms max %.2f ms; ratio %.2f (goal <= %.2f), max (goal <= %.0f ms) %s\n",
      topics, what, viewer.size(), median(bare), maximum(bare), median(viewer), maximum(viewer), ratio,
      goalRatio, frameMs, met ? "ok" : "MISSED");
  std::printf(
      "bench_window_response %d topics, %s until idle: bare median %.2f ms max %.2f ms, "
      "viewer median %.2f ms max %.2f ms\n",
      topics, what, median(bareSettled), maximum(bareSettled), median(viewerSettled), maximum(viewerSettled));
  return met;
}

bool measureLibrary(Display* display, const Library& library, int barePitch, const std::string& snippet) {
  Plan plan;
  int viewerPitch = 0;
  if (!makePlan(library, plan, viewerPitch)) {
    std::fprintf(stderr, "bench_window_response: no plan for %d topics\n", library.topics);
    return false;
  }
  const bench::ProgramFolder program =
      bench::makeProgramFolder(ZN_VIEWER_BINARY, plan.databasePath, "CodeMarks=2\n");
  plan.folder = program.folder;
  const std::vector<std::string> environment = bench::quietToolkitEnvironment(program.folder);
  bool sound = writeSnippets(plan, snippet);

  Driver viewerDriver;
  viewerDriver.display = display;
  viewerDriver.titlePrefix = std::string(viewerTitle) + " ~ ";
  viewerDriver.listLeft = viewerTreeLeft;
  viewerDriver.listTop = viewerTreeTop;
  viewerDriver.pitch = viewerPitch;
  viewerDriver.restX = 550;
  viewerDriver.restY = 15;
  Driver bareDriver = viewerDriver;
  bareDriver.titlePrefix = std::string(bench::bareBrowserTitle) + " ~ ";
  bareDriver.libraryFolder = plan.folder;
  bareDriver.listLeft = 0;
  bareDriver.listTop = bench::bareListTop;
  bareDriver.pitch = barePitch;
  bareDriver.restX = 300;
  // The bare program's list holds the clicked files in order.
  Plan barePlan = plan;
  for (Step& step : barePlan.clicks) {
    step.row = static_cast<int>(std::find(plan.clickedFiles.begin(), plan.clickedFiles.end(), step.file) -
                                plan.clickedFiles.begin());
  }

  Figures bare, viewer;
  for (int turn = 0; sound && turn < turns; ++turn) {
    sound =
        driveBoth(bareDriver, bareArguments(plan), environment, bench::bareBrowserTitle, barePlan, bare) &&
        driveBoth(viewerDriver, {program.binary}, environment, viewerTitle, plan, viewer);
  }
  std::error_code error;
  std::filesystem::remove_all(program.folder, error);
  bench::removeScratchDatabase(plan.databasePath);
  if (!sound) {
    std::fprintf(stderr, "bench_window_response: a program did not show or follow on %d topics\n",
                 library.topics);
    return false;
  }
  const bool keys =
      report(library.topics, "keystroke", bare.keyMs, viewer.keyMs, bare.keySettledMs, viewer.keySettledMs);
  const bool clicks = report(library.topics, "click on a topic", bare.clickMs, viewer.clickMs,
                             bare.clickSettledMs, viewer.clickSettledMs);
  std::printf(
      "bench_window_response %d topics, the first step after the start: keystroke %.2f ms, click %.2f ms "
      "at most\n",
      library.topics, maximum(viewer.firstKeyMs), maximum(viewer.firstClickMs));
  return keys && clicks;
}

}  // namespace

int main(int argc, char** argv) {
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "bench_window_response needs a display: run it under xvfb-run -a\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  int event = 0, error = 0, major = 0, minor = 0;
  if (!display || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
    std::fprintf(stderr, "bench_window_response needs the XTest extension\n");
    return 2;
  }
  const std::string snippet = readSnippet();
  const int barePitch = bareRowPitch();
  bool met = !snippet.empty() && barePitch > 0;
  for (const Library& library : libraries) met = measureLibrary(display, library, barePitch, snippet) && met;
  XCloseDisplay(display);
  return met ? 0 : 1;
}
