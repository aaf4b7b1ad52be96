#pragma once

#include "Util/Types.h"

#include <cstddef>
#include <map>
#include <utility>
#include <vector>

namespace Ostra::Util {

// A call-tree profiler for one thread at a time. Between Start and Stop, Enter and
// Leave mark a scope by id; the ticks of each scope, its calls and its place in the
// call tree are recorded. Calls from any other thread, outside a run, or from within
// the profiler's own bookkeeping are ignored, and the bookkeeping's own time is kept
// out of the scopes' ticks.
//
// Nothing in the program marks a scope yet, so a run records only its root.
class Profiler {
public:
  static Profiler* Instance();

  // Empties the tree and begins a run on the calling thread.
  void Start();
  void Enter(U32 id);
  // Closes the innermost scope; the run's own root is closed only by Stop.
  void Leave();
  // Ends the run. On the profiled thread it first closes every open scope; from any
  // other thread the open scopes are left as they are.
  void Stop();

  // The tree holds a scope besides the run's root.
  bool HasData() const;
  // Tree nodes, the root included; 0 before the first run.
  std::size_t GetNodeCount() const;
  // Open frames, the root's included.
  std::size_t GetOpenFrameCount() const;

  // No report layout has been settled on yet: writes nothing.
  void WriteReport(const char* csvFileName);

private:
  struct Node {
    U64 Calls;
    U64 OutermostCalls; // calls made while the node was not already open
    int Depth;          // current nesting
    U64 Ticks;
  };

  struct Frame {
    U64 EntryStamp;
    U64 OwnTicks;
    U64 BookkeepingTicks;
    U32 Id;
    std::size_t NodeIndex;
  };

  Profiler() = default;

  void ChargeTopFrame();
  void OpenFrame(U32 id);
  void CloseFrame();

  std::vector<Node> Nodes;                                     // [0] is the root
  std::map<std::pair<std::size_t, U32>, std::size_t> Children; // {parent, id} -> node
  std::vector<Frame> Frames;
  U64 LastBookkeepingExit = 0;
  std::map<std::size_t, U64> EntryCounts; // node -> scopes entered beneath it
};

// Profiles its own lifetime: starts a run when constructed, stops it when destroyed.
class ProfileScope {
public:
  ProfileScope();
  ~ProfileScope();
  ProfileScope(const ProfileScope&) = delete;
  ProfileScope& operator=(const ProfileScope&) = delete;
};

} // namespace Ostra::Util
