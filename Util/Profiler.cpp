#include "Util/Profiler.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace Ostra::Util {

namespace {

// Process-wide run state. The flag and the thread are atomic because Stop may come
// from any thread; everything else is touched by the profiled thread only.
std::atomic<bool> Enabled{false};
std::atomic<std::thread::id> ProfiledThread{};
bool Busy = false;
U64 EntryStamp = 0; // read on entering the bookkeeping
U64 ExitStamp = 0;  // read on leaving it

U64 Now() { return static_cast<U64>(std::chrono::steady_clock::now().time_since_epoch().count()); }

bool OnProfiledThread() {
  return Enabled && ProfiledThread.load() == std::this_thread::get_id() && !Busy;
}

} // namespace

Profiler* Profiler::Instance() {
  // Never destroyed, like the program's other singletons: a scope may still end while
  // static objects are being torn down.
  static Profiler* const instance = new Profiler;
  return instance;
}

void Profiler::Start() {
  Nodes.clear();
  Children.clear();
  Frames.clear();
  EntryCounts.clear();
  const U64 now = Now();
  Nodes.push_back(Node{1, 1, 1, 0});
  Frames.push_back(Frame{now, 0, 0, 0, 0});
  ExitStamp = now;
  LastBookkeepingExit = now;
  ProfiledThread = std::this_thread::get_id();
  Enabled = true;
}

void Profiler::Enter(U32 id) {
  if (!OnProfiledThread())
    return;
  EntryStamp = Now();
  Busy = true;
  OpenFrame(id);
  ExitStamp = Now();
  Busy = false;
}

void Profiler::Leave() {
  if (!OnProfiledThread())
    return;
  EntryStamp = Now();
  Busy = true;
  // An unmatched Leave must not close the run's root.
  if (Frames.size() > 1)
    CloseFrame();
  ExitStamp = Now();
  Busy = false;
}

void Profiler::Stop() {
  if (OnProfiledThread()) {
    EntryStamp = Now();
    Busy = true;
    while (!Frames.empty())
      CloseFrame();
    ExitStamp = Now();
    Busy = false;
  }
  Enabled = false;
  ProfiledThread = std::thread::id();
}

bool Profiler::HasData() const { return Nodes.size() > 1; }

std::size_t Profiler::GetNodeCount() const { return Nodes.size(); }

std::size_t Profiler::GetOpenFrameCount() const { return Frames.size(); }

void Profiler::WriteReport(const char*) {}

void Profiler::ChargeTopFrame() {
  Frame& top = Frames.back();
  top.OwnTicks += EntryStamp - ExitStamp;
  top.BookkeepingTicks += ExitStamp - LastBookkeepingExit;
  LastBookkeepingExit = EntryStamp;
  // Charged up to now: closing several frames in one step charges the interval once.
  ExitStamp = EntryStamp;
}

void Profiler::OpenFrame(U32 id) {
  ChargeTopFrame();
  const std::size_t parent = Frames.back().NodeIndex;
  ++EntryCounts[parent];
  const auto [child, created] = Children.try_emplace({parent, id}, Nodes.size());
  if (created) {
    Nodes.push_back(Node{1, 1, 1, 0});
  } else {
    Node& node = Nodes[child->second];
    ++node.Calls;
    if (++node.Depth == 1)
      ++node.OutermostCalls;
  }
  Frames.push_back(Frame{EntryStamp, 0, 0, id, child->second});
}

void Profiler::CloseFrame() {
  ChargeTopFrame();
  const Frame frame = Frames.back();
  Frames.pop_back();
  Node& node = Nodes[frame.NodeIndex];
  node.Ticks += frame.OwnTicks;
  --node.Depth;
  // A parent's ticks include its children's.
  if (!Frames.empty()) {
    Frames.back().OwnTicks += frame.OwnTicks;
    Frames.back().BookkeepingTicks += frame.BookkeepingTicks;
  }
}

ProfileScope::ProfileScope() { Profiler::Instance()->Start(); }

ProfileScope::~ProfileScope() { Profiler::Instance()->Stop(); }

} // namespace Ostra::Util
