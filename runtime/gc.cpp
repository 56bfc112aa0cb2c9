// The collector: allocation with size-class caches, the write barrier's
// greying, budgeted marking, the sweep splice and lazy destruction.
#include "runtime/gc.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "runtime/errors.h"

int gc_markbit = 1;
// Each list is circular around a permanent sentinel; an empty list points at itself.
gc_header gc_unmarked_list = {&gc_unmarked_list, &gc_unmarked_list, 0, 0};
gc_header gc_queued_list = {&gc_queued_list, &gc_queued_list, 0, 0};
gc_header gc_marked_list = {&gc_marked_list, &gc_marked_list, 0, 0};
gc_header gc_free_list = {&gc_free_list, &gc_free_list, 0, 0};
int gc_alloced_bytes = 0;
int gc_max_alloced_bytes = 0;
int gc_marked_bytes = 0;
int gc_marked_objs = 0;
int gc_free_bytes = 0;
bool gc_force_sweep = false;
void (*gc_root_marker)() = nullptr;

namespace {

const int kCacheClasses = 8;  // 8, 16, ..., 56 bytes (index = size / 8)
const int kMaxCachedSize = 56;

gc_header* gc_cache[kCacheClasses];
int gc_alloced_after_sweep = 0;

// Set while gc_check_invariant re-scans black objects: greying then only
// records that a white object was reached, and changes nothing.
bool g_probing = false;
bool g_found_white = false;

void list_clear(gc_header* list) { list->next = list->prev = list; }

bool list_empty(const gc_header* list) { return list->next == list; }

void list_remove(gc_header* h) {
  h->next->prev = h->prev;
  h->prev->next = h->next;
}

void list_append(gc_header* list, gc_header* h) {
  h->next = list;
  h->prev = list->prev;
  list->prev->next = h;
  list->prev = h;
}

// Moves every node of `from` to the end of `to`, leaving `from` empty.
void list_splice(gc_header* to, gc_header* from) {
  if (list_empty(from)) return;
  gc_header* first = from->next;
  gc_header* last = from->prev;
  first->prev = to->prev;
  to->prev->next = first;
  last->next = to;
  to->prev = last;
  list_clear(from);
}

int header_size(const gc_header* h) { return h->flags & ~7; }

gc_object* object_of(gc_header* h) { return reinterpret_cast<gc_object*>(h + 1); }

void* allocate_block(int size) {
  if (size <= kMaxCachedSize) {
    gc_header*& cached = gc_cache[size / 8];
    if (cached) {
      gc_header* h = cached;
      cached = h->next;
      return h;
    }
  }
  void* block = std::malloc(sizeof(gc_header) + static_cast<size_t>(size));
  if (!block) out_of_memory();
  return block;
}

// Marks queued objects until the queue is empty or the budget is spent.
// Returns true when marking completed.
bool mark_queued(bool unbudgeted) {
  int limit = gc_marked_objs + GC_MARK_BUDGET;
  while (!list_empty(&gc_queued_list)) {
    if (!unbudgeted && gc_marked_objs >= limit) return false;
    gc_header* h = gc_queued_list.next;
    list_remove(h);
    list_append(&gc_marked_list, h);
    gc_marked_bytes += header_size(h);
    ++gc_marked_objs;
    object_of(h)->mark();
  }
  return true;
}

void sweep() {
  list_splice(&gc_free_list, &gc_unmarked_list);
  list_splice(&gc_unmarked_list, &gc_marked_list);
  gc_free_bytes += gc_alloced_bytes - gc_marked_bytes;
  gc_alloced_bytes = gc_marked_bytes;
  gc_marked_bytes = 0;
  gc_marked_objs = 0;
  gc_markbit ^= 1;
  gc_mark();
  gc_alloced_after_sweep = gc_alloced_bytes;
}

}  // namespace

void gc_init() {
  list_clear(&gc_unmarked_list);
  list_clear(&gc_queued_list);
  list_clear(&gc_marked_list);
  list_clear(&gc_free_list);
  gc_alloced_bytes = gc_max_alloced_bytes = gc_marked_bytes = gc_marked_objs = 0;
  gc_free_bytes = 0;
  gc_alloced_after_sweep = 0;
  gc_force_sweep = false;
}

void* gc_object::operator new(size_t size) { return gc_malloc(static_cast<int>(size)); }

void gc_object::operator delete(void* p) { gc_free(static_cast<gc_object*>(p)); }

void* gc_malloc(int size) {
  // The byte counts are ints: a block they cannot count is refused as the
  // heap running out, as is a negative size (a count that overflowed).
  if (size < 0 || size > INT_MAX - 7 - gc_alloced_bytes) out_of_memory();
  size = (size + 7) & ~7;
  gc_flush_free(size);
  gc_header* h = static_cast<gc_header*>(allocate_block(size));
  h->flags = size | gc_markbit;
  list_append(&gc_unmarked_list, h);
  gc_alloced_bytes += size;
  if (gc_alloced_bytes > gc_max_alloced_bytes) gc_max_alloced_bytes = gc_alloced_bytes;
  return h + 1;
}

void gc_free(gc_object* p) {
  // Called from operator delete: the object is already destroyed, so its
  // header is found from the raw address rather than through a member call.
  gc_header* h = reinterpret_cast<gc_header*>(static_cast<void*>(p)) - 1;
  int size = header_size(h);
  gc_free_bytes -= size;
  if (size > kMaxCachedSize) {
    std::free(h);
    return;
  }
  h->next = gc_cache[size / 8];
  gc_cache[size / 8] = h;
}

void gc_flush_free(int size) {
  int target = gc_free_bytes - size;
  if (target < 0) target = 0;
  while (gc_free_bytes > target) {
    if (list_empty(&gc_free_list)) {
      std::printf("ERROR:p=%p gc_free_bytes=%i\n", static_cast<void*>(&gc_free_list), gc_free_bytes);
      std::fflush(stdout);
      gc_free_bytes = 0;
      return;
    }
    gc_header* h = gc_free_list.next;
    list_remove(h);
    delete object_of(h);
  }
}

namespace {

// Flips a white object's colour and moves it onto `list`. While the invariant
// check probes, it only records that a white object was reached.
bool take_white(gc_object* p, gc_header* list) {
  if (g_probing) {
    g_found_white = true;
    return false;
  }
  gc_header* h = p->gc_head();
  h->flags ^= 1;
  list_remove(h);
  list_append(list, h);
  return true;
}

}  // namespace

void gc_grey(gc_object* p) { take_white(p, &gc_queued_list); }

void gc_mark_now(gc_object* p) {
  if (!p || !gc_is_white(p) || !take_white(p, &gc_marked_list)) return;
  gc_marked_bytes += header_size(p->gc_head());
  ++gc_marked_objs;
  p->mark();
}

namespace {

gc_object* find_in(gc_header* list, const void* p) {
  for (gc_header* h = list->next; h != list; h = h->next)
    if (object_of(h) == p) return object_of(h);
  return nullptr;
}

}  // namespace

gc_object* gc_find_live(const void* p) {
  if (!p) return nullptr;
  for (gc_header* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list})
    if (gc_object* found = find_in(list, p)) return found;
  return nullptr;
}

void gc_mark() {
  if (gc_root_marker) gc_root_marker();
}

void gc_collect() {
  int growth = gc_alloced_bytes - gc_alloced_after_sweep;
  bool full = gc_force_sweep || growth > GC_FULL_STEP_GROWTH;
  bool complete = mark_queued(full);
  bool do_sweep = complete ? (full || growth > GC_SWEEP_GROWTH) : full;
  // Swept even with nothing white: the sweep also starts the next cycle, and
  // only in that cycle can objects marked in this one turn out unreachable.
  // Waiting for something white would keep such garbage (a replaced sheet and
  // its texture, say) for as long as every new object is stored at once.
  if (do_sweep) sweep();
  if (gc_force_sweep) {
    gc_flush_free(gc_free_bytes);
    gc_force_sweep = false;
  }
}

bool gc_check_invariant() {
  g_probing = true;
  g_found_white = false;
  for (gc_header* h = gc_marked_list.next; h != &gc_marked_list; h = h->next) object_of(h)->mark();
  g_probing = false;
  return !g_found_white;
}
