// The list view at 10^4, 10^5 and 10^6 items: a vertical list 400 x 800, items 50 high,
// dividers 2, with a callback module that has the scroll and visible-range subs (so every
// scroll does the full work). Everything runs on the virtual clock: animations are started,
// never waited for. Heap is counted by this program's own operator new and delete.
//
//   Append          a fresh list filled with N panels made beforehand (per item); counters: the
//                   heap the list adds per item (its record, wrapper panel and list slots), as
//                   requested and in the allocator's blocks, and the heap of one caller's panel
//   AppendText      a fresh list filled with N one-line text items (per item)
//   InsertTop       one insertion at index 0 of an N-item list scrolled to the top: every item
//                   moves, the 16 in view glide
//   InsertMiddle    the same at index N/2
//   InsertScrolled  the same at index 0 with the list scrolled to the middle: every item up to
//                   the window glides (N/2 animations)
//   RemoveTop       one removal at index 0 (the later items move at once)
//   Resize          one item near the top resized (as an expand-on-click does)
//   Scroll          one scroll step of 37 points, the scroll event, the visible range and the
//                   delivery of the posted events; a counter gives the range events per step
//   Clear           _clear of an N-item list (per item), the items' views released with it
//   Find            one _findindexfromoffset: at a random content position
//   NewWidth        the list laid out for a new width (every wrapper and panel resized)
// After each benchmark the list's offsets, Tags and content size are checked against the
// layout rule, and a broken one fails the run.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "listview/tm_customlistview.h"
#include "platform/core/Runtime.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewSystem.h"

namespace tmr {
namespace {

class BenchOwner : public ClassModule {
 public:
  void _initialize(Runtime& rt) { initializeClassModule(rt); }
  std::string_view className() const override { return "tm_benchowner"; }
  const SubTable& subTable() const override {
    static const SubTable table{sub<&BenchOwner::_lst_scrollchanged>("_lst_scrollchanged:"),
                                sub<&BenchOwner::_lst_visiblerangechanged>("_lst_visiblerangechanged::")};
    return table;
  }
  void _lst_scrollchanged(int32_t) { ++scrolls; }
  void _lst_visiblerangechanged(int32_t, int32_t) { ++ranges; }
  int64_t scrolls = 0;
  int64_t ranges = 0;
};

// Bytes held through operator new: as requested, and as the allocator hands them out (requests
// rounded up to its block sizes).
std::atomic<int64_t> heapInUse{0};
std::atomic<int64_t> blocksInUse{0};

int64_t HeapInUse() { return heapInUse.load(std::memory_order_relaxed); }
int64_t BlocksInUse() { return blocksInUse.load(std::memory_order_relaxed); }

struct BenchList {
  Runtime rt;
  UiLayer ui;
  std::shared_ptr<BenchOwner> owner = std::make_shared<BenchOwner>();
  std::shared_ptr<tm_customlistview> lv = std::make_shared<tm_customlistview>();
  View base;

  BenchList() {
    rt.setLogSink([](std::string_view) {});
    ViewSystem::of(rt);
    owner->_initialize(rt);
    base = ui.CreatePanel(owner->bi, "");
    base.native()->setFrame(Frame{0, 0, 400, 800});
    LabelWrapper label;
    label.Initialize(owner->bi, "");
    lv->_initialize(owner->bi, Object(owner), "lst");
    lv->_designercreateview(base, label,
                            Map::Of({{Object("DividerColor"), Object(0xFFD0D0D0LL)},
                                     {Object("DividerHeight"), Object(2)},
                                     {Object("PressedColor"), Object(0xFF3060C0LL)}}));
    base.native()->setCustomView(lv);
  }
  ~BenchList() { rt.shutdown(); }

  View panel() {
    View p = ui.CreatePanel(owner->bi, "");
    p.native()->setFrame(Frame{0, 0, 10, 50});
    return p;
  }
  void fill(int n) {
    for (int i = 0; i < n; ++i) lv->_add(panel(), Object(i));
    rt.loop().runUntilIdle();
  }
  // The layout rule after every completed operation: offsets, Tags and the content size.
  bool consistent() {
    double d = lv->_getdividersize(), pos = d;
    for (int i = 0; i < lv->_getsize(); ++i) {
      auto item = lv->_getrawlistitem(i);
      if (item->Offset != static_cast<int>(pos) || item->Panel.Tag().AsInt() != i) return false;
      pos = static_cast<double>(item->Offset) + item->Size + d;
    }
    return lv->_getscrollviewcontentsize() == (lv->_getsize() == 0 ? 0 : static_cast<int>(pos));
  }
  void check(benchmark::State& state) {
    if (!consistent()) state.SkipWithError("the list broke its layout rule");
  }
};

void Append(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  double listBytes = 0, listBlocks = 0, panelBytes = 0, held = 0;
  bool ok = true;
  for (auto _ : state) {
    state.PauseTiming();
    auto list = std::make_unique<BenchList>();
    int64_t start = HeapInUse();
    std::vector<View> panels;
    panels.reserve(static_cast<size_t>(n));
    int64_t before = HeapInUse();
    for (int i = 0; i < n; ++i) panels.push_back(list->panel());
    int64_t made = HeapInUse(), madeBlocks = BlocksInUse();
    state.ResumeTiming();
    for (int i = 0; i < n; ++i) list->lv->_add(panels[static_cast<size_t>(i)], Object(i));
    state.PauseTiming();
    panelBytes = static_cast<double>(made - before) / n;
    listBytes = static_cast<double>(HeapInUse() - made) / n;
    listBlocks = static_cast<double>(BlocksInUse() - madeBlocks) / n;
    std::vector<View>().swap(panels);
    // With the handles gone, the list holds everything the items take.
    held = static_cast<double>(HeapInUse() - start) / n;
    ok = ok && list->consistent();
    list.reset();
    state.ResumeTiming();
  }
  // With the handles gone, the list holds everything the items take, and nothing more.
  if (held > listBytes + panelBytes + 1) state.SkipWithError("the items hold more than was counted");
  if (!ok) state.SkipWithError("the list broke its layout rule");
  state.SetItemsProcessed(state.iterations() * n);
  state.counters["list_heap_per_item"] = listBytes;
  state.counters["list_blocks_per_item"] = listBlocks;
  state.counters["panel_heap"] = panelBytes;
}

void AppendText(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto list = std::make_unique<BenchList>();
    state.ResumeTiming();
    for (int i = 0; i < n; ++i) list->lv->_addtextitem(Object("Item number " + std::to_string(i)), Object(i));
    state.PauseTiming();
    list->check(state);
    list.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// One insertion at `at` (a fraction of N), with the list scrolled to `scroll` (a fraction of
// the largest offset); the item is taken out again outside the timing.
void Insert(benchmark::State& state, double at, double scroll) {
  BenchList list;
  int n = static_cast<int>(state.range(0));
  list.fill(n);
  list.lv->_setscrollviewoffset(list.lv->_getmaxscrolloffset() * scroll);
  int index = static_cast<int>(n * at);
  for (auto _ : state) {
    list.lv->_insertat(index, list.panel(), Object(-1));
    state.PauseTiming();
    list.lv->_removeat(index);
    state.ResumeTiming();
  }
  list.check(state);
}
void InsertTop(benchmark::State& state) { Insert(state, 0, 0); }
void InsertMiddle(benchmark::State& state) { Insert(state, 0.5, 0); }
void InsertScrolled(benchmark::State& state) { Insert(state, 0, 0.5); }

void RemoveTop(benchmark::State& state) {
  BenchList list;
  list.fill(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    list.lv->_removeat(0);
    state.PauseTiming();
    list.lv->_add(list.panel(), Object(0));
    state.ResumeTiming();
  }
  list.check(state);
}

void Resize(benchmark::State& state) {
  BenchList list;
  list.fill(static_cast<int>(state.range(0)));
  bool big = false;
  for (auto _ : state) {
    big = !big;
    list.lv->_resizeitem(3, big ? 120 : 50);
  }
  list.check(state);
}

void Scroll(benchmark::State& state) {
  BenchList list;
  list.fill(static_cast<int>(state.range(0)));
  double max = list.lv->_getmaxscrolloffset();
  double offset = 0;
  list.owner->ranges = 0;
  for (auto _ : state) {
    offset += 37;
    if (offset > max) offset = 0;
    list.lv->_setscrollviewoffset(offset);
    list.rt.loop().runUntilIdle();
  }
  state.counters["ranges_per_step"] =
      static_cast<double>(list.owner->ranges) / static_cast<double>(std::max<int64_t>(1, state.iterations()));
  list.check(state);
}

void Clear(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  double freed = 0;
  bool empty = true;
  for (auto _ : state) {
    state.PauseTiming();
    auto list = std::make_unique<BenchList>();
    list->fill(n);
    int64_t before = HeapInUse();
    state.ResumeTiming();
    list->lv->_clear();
    state.PauseTiming();
    empty = empty && list->lv->_getsize() == 0 && list->lv->sv.ScrollViewInnerPanel().NumberOfViews() == 0;
    freed = static_cast<double>(before - HeapInUse()) / n;
    list.reset();
    state.ResumeTiming();
  }
  if (!empty) state.SkipWithError("the list is not empty after _clear");
  state.counters["heap_freed_per_item"] = freed;
  state.SetItemsProcessed(state.iterations() * n);
}

void Find(benchmark::State& state) {
  BenchList list;
  list.fill(static_cast<int>(state.range(0)));
  std::mt19937 rng(42);
  auto end = static_cast<uint32_t>(list.lv->_getscrollviewcontentsize());
  int64_t sum = 0;
  for (auto _ : state) sum += list.lv->_findindexfromoffset(static_cast<int32_t>(rng() % end));
  benchmark::DoNotOptimize(sum);
}

void NewWidth(benchmark::State& state) {
  BenchList list;
  list.fill(static_cast<int>(state.range(0)));
  bool wide = false;
  for (auto _ : state) {
    wide = !wide;
    list.base.setWidth(wide ? 420 : 400);
  }
  list.check(state);
}

BENCHMARK(Append)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(AppendText)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(InsertTop)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(InsertMiddle)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(InsertScrolled)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(RemoveTop)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Resize)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Scroll)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Clear)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Find)->Arg(10000)->Arg(100000)->Arg(1000000);
BENCHMARK(NewWidth)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tmr

// The counting hooks: every other form of new and delete ends in these two. (Once GCC inlines
// them it takes the free() for a mismatch and the header read for an access out of bounds.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#pragma GCC diagnostic ignored "-Warray-bounds"
// Each block carries its requested size in front of it.
constexpr size_t kHeader = 16;
void* operator new(size_t size) {
  auto* raw = static_cast<char*>(std::malloc(size + kHeader));
  if (!raw) throw std::bad_alloc();
  *reinterpret_cast<size_t*>(raw) = size;
  tmr::heapInUse.fetch_add(static_cast<int64_t>(size), std::memory_order_relaxed);
  tmr::blocksInUse.fetch_add(static_cast<int64_t>(malloc_usable_size(raw) - kHeader), std::memory_order_relaxed);
  return raw + kHeader;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  char* raw = static_cast<char*>(p) - kHeader;
  tmr::heapInUse.fetch_sub(static_cast<int64_t>(*reinterpret_cast<size_t*>(raw)), std::memory_order_relaxed);
  tmr::blocksInUse.fetch_sub(static_cast<int64_t>(malloc_usable_size(raw) - kHeader), std::memory_order_relaxed);
  std::free(raw);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }
#pragma GCC diagnostic pop

BENCHMARK_MAIN();
