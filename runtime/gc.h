// Incremental mark-and-sweep collector for every framework and game object.
//
// Objects are white (unreached this cycle), grey (queued for scanning) or black
// (scanned). The collector never scans the machine stack: it runs only between
// lifecycle hooks, and learns of references stored into fields through the
// write barrier gc_assign. Garbage is destroyed lazily, as allocation needs it.
#pragma once

#include <cstddef>

struct gc_object;

// Bookkeeping that precedes every collected object in memory. Kept outside the
// object itself so that constructors can never clobber it.
struct alignas(16) gc_header {
  gc_header* next;
  gc_header* prev;
  int flags;  // object size in bytes (multiple of 8) above bit 1; bits 0-1 colour
  int pad;
};

// Root class of every collected object.
struct gc_object {
  gc_object() {}
  virtual ~gc_object() {}
  // Marks the objects this one refers to (greys the white ones).
  virtual void mark() {}

  static void* operator new(size_t size);
  static void operator delete(void* p);

  gc_header* gc_head() const { return reinterpret_cast<gc_header*>(const_cast<gc_object*>(this)) - 1; }
};

// Collector state, exposed for the host, the tests and the debug checks.
extern int gc_markbit;
extern gc_header gc_unmarked_list;  // white: new objects go here
extern gc_header gc_queued_list;    // grey
extern gc_header gc_marked_list;    // black
extern gc_header gc_free_list;      // unreachable, waiting for destruction
extern int gc_alloced_bytes;
extern int gc_max_alloced_bytes;
extern int gc_marked_bytes;
extern int gc_marked_objs;
extern int gc_free_bytes;
extern bool gc_force_sweep;

const int GC_MARK_BUDGET = 2500;              // objects marked per step
const int GC_SWEEP_GROWTH = 0x400000;         // 4 MiB since the last sweep
const int GC_FULL_STEP_GROWTH = 0x4000000;    // 64 MiB: mark and sweep at once

// Memory for a new white object of `size` bytes (rounded up to 8). A heap
// that cannot give it ends the program with the runtime's error report.
void* gc_malloc(int size);
// Returns an object's memory; called by the freeing destructor.
void gc_free(gc_object* p);
// Destroys pending garbage worth at least `size` bytes.
void gc_flush_free(int size);
// One incremental step; the main loop calls it after every hook.
void gc_collect();
// Greys the roots; the host installs the function that knows them.
void gc_mark();
extern void (*gc_root_marker)();
// The object at `p` if it is on the white, grey or black list (reachable or
// not yet known to be garbage), else null. Walks every list: for the
// debugger, not for the game.
gc_object* gc_find_live(const void* p);
// Empties the four lists and the counters (process start, and tests).
void gc_init();

inline bool gc_is_white(gc_object* p) { return (p->gc_head()->flags & 3) == gc_markbit; }

// Greys a white object: flips its colour and queues it for scanning.
void gc_grey(gc_object* p);

inline void gc_mark_q(gc_object* p) {
  if (p && gc_is_white(p)) gc_grey(p);
}

// Marks an array element at once (arrays scan their elements eagerly).
void gc_mark_now(gc_object* p);

// Write barrier: every store of an object reference into a field of a collected
// object or a global root goes through here.
template <class T, class V>
inline void gc_assign(T*& field, V* value) {
  gc_mark_q(value);
  field = value;
}

// Debug check: true when no black object refers to a white one. Re-scans the
// marked list through mark() in a probing mode that changes nothing.
bool gc_check_invariant();
