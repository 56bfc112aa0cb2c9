// The collector: barrier, budgeted marking, sweep thresholds, lazy destruction,
// cycles, and a randomised workload checked against the tri-colour invariant.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "child_process.h"
#include "runtime/object.h"

namespace {

// Addresses whose object was destroyed; a new object at the same address
// (small blocks are recycled) takes its address off again.
std::set<const void*> g_destroyed;
int g_nodes_destroyed = 0;

class Node : public Object {
 public:
  Node* a = nullptr;
  Node* b = nullptr;
  Array<Node*> kids;
  Node() { g_destroyed.erase(this); }
  ~Node() override {
    g_destroyed.insert(this);
    ++g_nodes_destroyed;
  }
  void mark() override {
    gc_mark_q(a);
    gc_mark_q(b);
    gc_mark_q(kids);
  }
};

// A large object, to reach the sweep thresholds quickly.
class Blob : public Object {
 public:
  char payload[256 * 1024];
  Blob() { g_destroyed.erase(this); }
  ~Blob() override { g_destroyed.insert(this); }
};

Node* g_root = nullptr;

void mark_test_roots() { gc_mark_q(g_root); }

bool destroyed(const void* p) { return g_destroyed.count(p) != 0; }

class Collector : public ::testing::Test {
 protected:
  void SetUp() override {
    gc_init();
    g_destroyed.clear();
    gc_root_marker = mark_test_roots;
    g_root = new Node();
    gc_mark();
  }
  void TearDown() override {
    g_root = nullptr;
    gc_root_marker = nullptr;
  }
  // Runs steps until marking is complete (nothing left queued).
  static void finish_marking() {
    while (gc_queued_list.next != &gc_queued_list) gc_collect();
  }
  static void full_collection() {
    gc_force_sweep = true;
    gc_collect();
  }
};

TEST_F(Collector, BarrierKeepsAnObjectStoredOnlyIntoABlackOne) {
  finish_marking();  // the root is black now
  Node* kept = new Node();
  gc_assign(g_root->a, kept);
  full_collection();
  EXPECT_FALSE(destroyed(kept));

  // The same store without the barrier loses the object: the barrier matters.
  finish_marking();
  Node* lost = new Node();
  g_root->b = lost;
  full_collection();
  EXPECT_TRUE(destroyed(lost));
  g_root->b = nullptr;
}

// A sheet replaced while every object is black (each new one was stored into
// a black field at once, so nothing is white): the old one must still go. A
// sweep that waited for something white would keep every replaced sheet, and
// its texture, for as long as the program allocated nothing left white.
TEST_F(Collector, GarbageThatWasBlackIsCollectedWhenNothingIsWhite) {
  finish_marking();
  int before = g_nodes_destroyed;
  for (int round = 0; round < 5; ++round) {
    gc_assign(g_root->a, new Node());  // the one white object turns grey
    full_collection();                 // as after every image load
  }
  full_collection();
  EXPECT_EQ(g_nodes_destroyed - before, 4) << "every replaced sheet destroyed";
  EXPECT_FALSE(destroyed(g_root->a));
}

TEST_F(Collector, NoSweepBelowFourMebibytesOfGrowth) {
  std::vector<Blob*> garbage;
  for (int i = 0; i < 15; ++i) garbage.push_back(new Blob());  // 3.75 MiB
  for (int i = 0; i < 5; ++i) gc_collect();
  EXPECT_EQ(gc_free_bytes, 0);
  garbage.push_back(new Blob());
  garbage.push_back(new Blob());  // past 4 MiB
  gc_collect();
  EXPECT_GT(gc_free_bytes, 4 * 1024 * 1024);
  // Swept, but destroyed only as allocation needs: nothing yet.
  for (Blob* b : garbage) EXPECT_FALSE(destroyed(b));
}

TEST_F(Collector, GarbageIsDestroyedOnlyAsAllocationNeeds) {
  std::vector<Blob*> garbage;
  for (int i = 0; i < 20; ++i) garbage.push_back(new Blob());
  gc_collect();
  int owed = gc_free_bytes;
  ASSERT_GT(owed, 0);
  Node* small = new Node();  // needs a few bytes: one destructor runs
  (void)small;
  int gone = 0;
  for (Blob* b : garbage) gone += destroyed(b);
  EXPECT_EQ(gone, 1);
  EXPECT_EQ(gc_free_bytes, owed - static_cast<int>((sizeof(Blob) + 7) & ~7u));
}

TEST_F(Collector, MarkingStopsAtTheBudgetEachStep) {
  Node* prev = g_root;
  for (int i = 0; i < 6000; ++i) {
    Node* n = new Node();
    gc_assign(prev->a, n);
    prev = n;
  }
  // Every object was greyed by the barrier as it was stored, so each step marks
  // exactly the budget until the queue runs out.
  gc_collect();
  EXPECT_EQ(gc_marked_objs, GC_MARK_BUDGET);
  gc_collect();
  EXPECT_EQ(gc_marked_objs, 2 * GC_MARK_BUDGET);
  gc_collect();
  EXPECT_EQ(gc_marked_objs, 6001);
}

TEST_F(Collector, UnreachableCyclesAreCollected) {
  Node* x = new Node();
  Node* y = new Node();
  gc_assign(x->a, y);
  gc_assign(y->a, x);
  gc_assign(g_root->a, x);
  full_collection();
  EXPECT_FALSE(destroyed(x));
  g_root->a = nullptr;  // dropping a reference needs no barrier
  // A sweep happens only when something is white; new garbage provides that.
  new Node();
  full_collection();
  new Node();
  full_collection();
  EXPECT_TRUE(destroyed(x));
  EXPECT_TRUE(destroyed(y));
}

TEST_F(Collector, ArraysMarkTheirElementsAndEmptyArraysAreNeverCollected) {
  Array<Node*> kids(3);
  gc_assign(g_root->kids, kids);
  Node* child = new Node();
  kids.Set(1, child);
  Array<Node*> none;
  Array<Node*> also_none(0);
  EXPECT_EQ(none.object(), also_none.object());  // one shared static
  gc_assign(child->kids, none);
  full_collection();
  full_collection();
  EXPECT_FALSE(destroyed(child));
  EXPECT_EQ(g_root->kids[1], child);
}

TEST_F(Collector, SmallBlocksAreRecycledThroughTheirSizeClass) {
  Node* first = new Node();
  full_collection();  // unreachable: swept and destroyed
  full_collection();
  ASSERT_TRUE(destroyed(first));
  Node* second = new Node();
  EXPECT_EQ(static_cast<void*>(second), static_cast<void*>(first));
}

TEST_F(Collector, InconsistentFreeCountIsReportedAndRepaired) {
  ChildResult r = run_child([] {
    gc_free_bytes = 100;  // owed, but nothing on the free list
    gc_flush_free(50);
    std::printf("after=%d\n", gc_free_bytes);
  });
  EXPECT_NE(r.out.find("gc_free_bytes=100\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("after=0"), std::string::npos);
}

// Random graph surgery with the barrier; after every step no black object may
// refer to a white one, and nothing reachable is ever destroyed.
TEST_F(Collector, RandomWorkloadKeepsTheInvariantAndEveryReachableObject) {
  std::mt19937 rng(7);
  std::vector<Node*> live{g_root};
  for (int round = 0; round < 3000; ++round) {
    Node* from = live[rng() % live.size()];
    Node* to = rng() % 4 ? new Node() : live[rng() % live.size()];
    if (rng() % 2)
      gc_assign(from->a, to);
    else
      gc_assign(from->b, to);
    if (round % 7 == 0) {
      gc_force_sweep = round % 700 == 0;
      gc_collect();
      ASSERT_TRUE(gc_check_invariant()) << "round " << round;
      // Recompute what is reachable and check none of it was destroyed.
      std::set<Node*> seen;
      std::vector<Node*> stack{g_root};
      while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        if (!n || !seen.insert(n).second) continue;
        ASSERT_FALSE(destroyed(n)) << "reachable object destroyed at round " << round;
        stack.push_back(n->a);
        stack.push_back(n->b);
      }
      live.assign(seen.begin(), seen.end());
    } else {
      live.push_back(to);
    }
  }
}

}  // namespace
