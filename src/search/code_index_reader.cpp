// Reads the library's snippet files into the code index, in a thread of its own.
#include "search/code_index_reader.h"

#include <atomic>
#include <chrono>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include <glib.h>
#include <malloc.h>

#include "base/background_thread.h"
#include "base/trace.h"

namespace search {

CodeIndex codeIndex;

namespace {

struct ReadJob {
  int file = 0;
  std::string fullPath;
  FileStamp known;
};

// What one reading thread and the main loop share. The thread checks the stop flag
// between files, so stopping waits for one file at most.
struct ReadChannel {
  std::atomic<bool> stop{false};
  std::mutex lock;
  std::vector<FileReading> readings;  // handed over, not yet taken
  std::vector<std::size_t> byteCounts = std::vector<std::size_t>(256, 0);
  bool finished = false;
  bool wakeUpQueued = false;
  std::unique_ptr<CodeIndex> plan;  // planned by the thread, handed over before its readings
};

// A reading thread; one still running when the program ends is stopped and waited for.
struct Reader {
  Reader(std::shared_ptr<ReadChannel> readChannel, std::thread readThread)
      : channel(std::move(readChannel)), thread(std::move(readThread)) {}
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;
  ~Reader() {
    channel->stop = true;
    if (thread.joinable()) thread.join();
  }
  std::shared_ptr<ReadChannel> channel;
  std::thread thread;
};

// A batch goes over after this many files, bytes or milliseconds, whichever comes first.
constexpr std::size_t batchFiles = 256;
constexpr std::size_t batchBytes = std::size_t(8) << 20;
constexpr auto batchTime = std::chrono::milliseconds(40);

// Stopped readers stay here until their thread has ended; the current one is last.
std::list<Reader> readers;
std::shared_ptr<ReadChannel> currentChannel;
CodeIndexProgress progress;
bool refreshWanted = false;
std::function<void()> listener;

gboolean onReadingsHandedOver(gpointer data);

void forgetChannel(gpointer data) { delete static_cast<std::shared_ptr<ReadChannel>*>(data); }

// In the reading thread.
void handOver(const std::shared_ptr<ReadChannel>& channel, std::vector<FileReading>& batch,
              std::vector<std::size_t>& counts, bool finished) {
  bool wakeUp = false;
  {
    const std::lock_guard<std::mutex> hold(channel->lock);
    for (FileReading& reading : batch) channel->readings.push_back(std::move(reading));
    for (std::size_t i = 0; i < counts.size(); ++i) channel->byteCounts[i] += counts[i];
    channel->finished = finished;
    wakeUp = !channel->wakeUpQueued;
    channel->wakeUpQueued = true;
  }
  batch.clear();
  counts.assign(counts.size(), 0);
  if (wakeUp)
    g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, onReadingsHandedOver, new std::shared_ptr<ReadChannel>(channel),
                    forgetChannel);
}

// The reading thread: touches its jobs and its channel, nothing else of the program.
void readFiles(std::shared_ptr<ReadChannel> channel, std::vector<ReadJob> jobs) {
  base::giveWayToTheWindow();
  std::vector<FileReading> batch;
  std::vector<std::size_t> counts(256, 0);
  std::size_t bytes = 0;
  auto lastHandOver = std::chrono::steady_clock::now();
  for (const ReadJob& job : jobs) {
    if (channel->stop) break;
    FileReading reading = readIndexedFile(job.file, job.fullPath, job.known);
    if (reading.state == FileState::Read) {
      countBytes(reading.code.text, counts);
      bytes += reading.code.text.size();
    }
    batch.push_back(std::move(reading));
    const auto now = std::chrono::steady_clock::now();
    if (batch.size() >= batchFiles || bytes >= batchBytes || now - lastHandOver >= batchTime) {
      handOver(channel, batch, counts, false);
      bytes = 0;
      lastHandOver = now;
    }
  }
  handOver(channel, batch, counts, true);
}

std::vector<ReadJob> buildJobs(const CodeIndex& index) {
  std::vector<ReadJob> jobs;
  jobs.reserve(index.files.size());
  for (std::size_t i = 0; i < index.files.size(); ++i)
    jobs.push_back({static_cast<int>(i), index.files[i].fullPath, FileStamp()});
  return jobs;
}

// The reading thread of a new index it plans itself: the plan goes over first.
void planAndReadFiles(std::shared_ptr<ReadChannel> channel, TopicFiles files, std::string libPath) {
  base::giveWayToTheWindow();
  auto plan = std::make_unique<CodeIndex>(planCodeIndex(files, libPath));
  std::vector<ReadJob> jobs = buildJobs(*plan);
  {
    const std::lock_guard<std::mutex> hold(channel->lock);
    channel->plan = std::move(plan);
  }
  std::vector<FileReading> none;
  std::vector<std::size_t> counts(256, 0);
  handOver(channel, none, counts, false);
  readFiles(std::move(channel), std::move(jobs));
}

void joinReader(const std::shared_ptr<ReadChannel>& channel) {
  readers.remove_if([&channel](const Reader& reader) { return reader.channel == channel; });
}

void startReading(std::vector<ReadJob> jobs, bool building) {
  TRACE_LINE();
  progress = CodeIndexProgress();
  progress.building = building && !jobs.empty();
  progress.total = jobs.size();
  if (jobs.empty()) return;
  currentChannel = std::make_shared<ReadChannel>();
  readers.emplace_back(currentChannel, std::thread(readFiles, currentChannel, std::move(jobs)));
}

void stopCurrentReading() {
  if (currentChannel) currentChannel->stop = true;
  currentChannel.reset();
  refreshWanted = false;
}

void startRefresh() {
  std::vector<ReadJob> jobs;
  for (std::size_t i = 0; i < codeIndex.files.size(); ++i) {
    const CodeFile& file = codeIndex.files[i];
    jobs.push_back({static_cast<int>(i), file.fullPath, file.read ? file.stamp : FileStamp()});
  }
  startReading(std::move(jobs), false);
}

void takeHandedOver(std::vector<FileReading>& readings, const std::vector<std::size_t>& counts) {
  for (FileReading& reading : readings) takeReading(codeIndex, std::move(reading));
  for (std::size_t i = 0; i < counts.size(); ++i) codeIndex.byteCounts[i] += counts[i];
  progress.done += readings.size();
}

gboolean onReadingsHandedOver(gpointer data) {
  TRACE_LINE();
  const std::shared_ptr<ReadChannel> channel = *static_cast<std::shared_ptr<ReadChannel>*>(data);
  std::vector<FileReading> readings;
  std::vector<std::size_t> counts(256, 0);
  bool finished = false;
  std::unique_ptr<CodeIndex> plan;
  {
    const std::lock_guard<std::mutex> hold(channel->lock);
    plan.swap(channel->plan);
    readings.swap(channel->readings);
    counts.swap(channel->byteCounts);
    channel->byteCounts.assign(256, 0);
    finished = channel->finished;
    channel->wakeUpQueued = false;
  }
  if (finished) joinReader(channel);
  // What a stopped reading read belongs to no index.
  if (channel != currentChannel) return G_SOURCE_REMOVE;
  if (plan) {
    codeIndex = std::move(*plan);
    progress.total = codeIndex.files.size();
  }
  takeHandedOver(readings, counts);
  if (finished) {
    currentChannel.reset();
    progress.building = false;
    // The reading leaves a small freed block behind for every file; gathered now, while
    // the program is idle, they do not hold up the next larger allocation, which would
    // otherwise gather them all in the middle of a keystroke.
    malloc_trim(0);
    if (refreshWanted) {
      refreshWanted = false;
      startRefresh();
    }
  }
  if (listener) listener();
  return G_SOURCE_REMOVE;
}

// Planning a large library takes a good part of a second: the reading thread plans it
// from a copy of the rows' file values, and the index stays empty until the plan
// comes over with the first readings.
void rebuildInBackground(const std::vector<database::IndexEntry>& entries, const std::string& libPath) {
  stopCurrentReading();
  codeIndex = CodeIndex();
  codeIndex.libPath = libPath;
  TopicFiles files = topicFilesOf(entries);
  progress = CodeIndexProgress();
  progress.building = !files.rows.empty();
  progress.total = files.rows.size();
  if (files.rows.empty()) return;
  currentChannel = std::make_shared<ReadChannel>();
  readers.emplace_back(currentChannel,
                       std::thread(planAndReadFiles, currentChannel, std::move(files), libPath));
  if (listener) listener();
}

}  // namespace

CodeIndexProgress codeIndexProgress() { return progress; }

void rebuildCodeIndex(const std::vector<database::IndexEntry>& entries, const std::string& libPath) {
  TRACE_LINE();
  rebuildInBackground(entries, libPath);
}

void refreshCodeIndex(const std::vector<database::IndexEntry>& entries, const std::string& libPath) {
  TRACE_LINE();
  if (!isPlanOf(codeIndex, entries, libPath)) {
    rebuildInBackground(entries, libPath);
  } else if (currentChannel) {
    refreshWanted = true;
  } else {
    startRefresh();
  }
}

void setCodeIndexListener(std::function<void()> newListener) { listener = std::move(newListener); }

void stopCodeIndexReading() {
  TRACE_LINE();
  stopCurrentReading();
  readers.clear();
  progress = CodeIndexProgress();
}

}  // namespace search
