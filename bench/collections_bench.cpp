// Ordered map, set and bytes builder beside plain standard containers doing the same work:
// std::unordered_map plus a vector of keys in first-insertion order, and std::vector<uint8_t>.
//
// Sizes are 10^4, 10^5 and 10^6 keys (or bytes). Large containers are built once per size and
// reused; remove benchmarks put the removed key back (it goes to the end), so every iteration
// sees a container of the same size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <memory>
#include <unordered_map>
#include <vector>

#include "collections/tm_bytesbuilder.h"
#include "collections/tm_collections.h"
#include "collections/tm_orderedmap.h"
#include "collections/tm_set.h"
#include "platform/core/ByteArray.h"
#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/Runtime.h"

namespace tmr {
namespace {

// One runtime for the whole program, its console silenced (released instances log a line).
struct World {
  World() {
    rt.setLogSink([](std::string_view) {});
    col->initializeModule();
  }
  Runtime rt;
  std::shared_ptr<tm_collections> col = rt.codeModule<tm_collections>();
};

World& world() {
  static World w;
  return w;
}

Object Key(int64_t i) { return Object(static_cast<int32_t>(i)); }

// Visits 0 … n − 1 in a scattered order (the multiplier is prime to 10^k).
int64_t Scattered(int64_t i, int64_t n) { return (i * 2654435761LL) % n; }

// The baseline: the same algorithm on standard containers.
struct PlainOrderedMap {
  std::unordered_map<Object, Object> map;
  std::vector<Object> keys;

  void put(const Object& k, const Object& v) {
    auto [it, added] = map.try_emplace(k, v);
    if (added) {
      keys.push_back(k);
    } else {
      it->second = v;
    }
  }
  void remove(const Object& k) {
    if (map.erase(k) == 0) return;
    keys.erase(std::find(keys.begin(), keys.end(), k));
  }
};

std::shared_ptr<tm_orderedmap> FilledMap(int64_t n) {
  auto m = world().col->_createorderedmap();
  for (int64_t i = 0; i < n; ++i) m->_put(Key(i), Key(i));
  return m;
}

std::shared_ptr<tm_set> FilledSet(int64_t n) {
  auto s = world().col->_createset();
  for (int64_t i = 0; i < n; ++i) s->_add(Key(i));
  return s;
}

PlainOrderedMap FilledPlain(int64_t n) {
  PlainOrderedMap p;
  p.map.reserve(static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) p.put(Key(i), Key(i));
  return p;
}

// Containers built once per size.
tm_orderedmap& CachedMap(int64_t n) {
  static std::map<int64_t, std::shared_ptr<tm_orderedmap>> cache;
  auto& slot = cache[n];
  if (!slot) slot = FilledMap(n);
  return *slot;
}
tm_set& CachedSet(int64_t n) {
  static std::map<int64_t, std::shared_ptr<tm_set>> cache;
  auto& slot = cache[n];
  if (!slot) slot = FilledSet(n);
  return *slot;
}
PlainOrderedMap& CachedPlain(int64_t n) {
  static std::map<int64_t, PlainOrderedMap> cache;
  auto it = cache.find(n);
  if (it == cache.end()) it = cache.emplace(n, FilledPlain(n)).first;
  return it->second;
}

enum Where { kFront, kMiddle, kEnd };
int64_t Position(Where w, int64_t size) { return w == kFront ? 0 : w == kMiddle ? size / 2 : size - 1; }

// ---- put (building a container of n keys) ----

void BM_OrderedMap_Put(benchmark::State& state) {
  const int64_t n = state.range(0);
  for (auto _ : state) benchmark::DoNotOptimize(FilledMap(n));
  state.SetItemsProcessed(state.iterations() * n);
}
void BM_Set_Add(benchmark::State& state) {
  const int64_t n = state.range(0);
  for (auto _ : state) benchmark::DoNotOptimize(FilledSet(n));
  state.SetItemsProcessed(state.iterations() * n);
}
void BM_Plain_Put(benchmark::State& state) {
  const int64_t n = state.range(0);
  for (auto _ : state) {
    // Grown as the ordered map grows: no reserve.
    PlainOrderedMap p;
    for (int64_t i = 0; i < n; ++i) p.put(Key(i), Key(i));
    benchmark::DoNotOptimize(p.keys.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// ---- get ----

void BM_OrderedMap_Get(benchmark::State& state) {
  const int64_t n = state.range(0);
  auto& m = CachedMap(n);
  int64_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(m._get(Key(Scattered(i++, n))));
  state.SetItemsProcessed(state.iterations());
}
void BM_Set_Contains(benchmark::State& state) {
  const int64_t n = state.range(0);
  auto& s = CachedSet(n);
  int64_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(s._contains(Key(Scattered(i++, n))));
  state.SetItemsProcessed(state.iterations());
}
void BM_Plain_Get(benchmark::State& state) {
  const int64_t n = state.range(0);
  auto& p = CachedPlain(n);
  int64_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(p.map.find(Key(Scattered(i++, n)))->second);
  state.SetItemsProcessed(state.iterations());
}

// ---- remove (and put back) ----

template <Where W>
void BM_OrderedMap_Remove(benchmark::State& state) {
  auto& m = CachedMap(state.range(0));
  List keys = m._getkeys();
  for (auto _ : state) {
    Object k = keys.Get(static_cast<int>(Position(W, keys.Size())));
    m._remove(k);
    m._put(k, k);
  }
  state.SetItemsProcessed(state.iterations());
}
template <Where W>
void BM_Set_Remove(benchmark::State& state) {
  auto& s = CachedSet(state.range(0));
  List items = s._aslist();
  for (auto _ : state) {
    Object k = items.Get(static_cast<int>(Position(W, items.Size())));
    s._remove(k);
    s._add(k);
  }
  state.SetItemsProcessed(state.iterations());
}
template <Where W>
void BM_Plain_Remove(benchmark::State& state) {
  auto& p = CachedPlain(state.range(0));
  for (auto _ : state) {
    Object k = p.keys[static_cast<size_t>(Position(W, static_cast<int64_t>(p.keys.size())))];
    p.remove(k);
    p.put(k, k);
  }
  state.SetItemsProcessed(state.iterations());
}

// The runtime's own map alone, for the share of its removal in the ordered map's.
template <Where W>
void BM_RuntimeMap_Remove(benchmark::State& state) {
  const int64_t n = state.range(0);
  static std::map<int64_t, Map> cache;
  Map& m = cache[n];
  if (!m.IsInitialized()) {
    m.Initialize();
    for (int64_t i = 0; i < n; ++i) m.Put(Key(i), Key(i));
  }
  for (auto _ : state) {
    Object k = m.GetKeyAt(static_cast<int>(Position(W, n)));
    m.Remove(k);
    m.Put(k, k);
  }
  state.SetItemsProcessed(state.iterations());
}

// The runtime's map emptied key by key (text keys, as a device list has), in insertion order
// or scattered, beside filling it with the same keys: removal should cost about an insertion.
Object TextKey(int64_t i) { return Object("device-" + std::to_string(i)); }

void BM_RuntimeMap_PutAll(benchmark::State& state) {
  const int64_t n = state.range(0);
  for (auto _ : state) {
    Map m;
    m.Initialize();
    for (int64_t i = 0; i < n; ++i) m.Put(TextKey(i), Key(i));
    benchmark::DoNotOptimize(m.Size());
    state.PauseTiming();
    m = Map();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

template <bool kScattered>
void BM_RuntimeMap_RemoveAll(benchmark::State& state) {
  const int64_t n = state.range(0);
  bool emptied = true;
  for (auto _ : state) {
    state.PauseTiming();
    Map m;
    m.Initialize();
    for (int64_t i = 0; i < n; ++i) m.Put(TextKey(i), Key(i));
    state.ResumeTiming();
    for (int64_t i = 0; i < n; ++i) m.Remove(TextKey(kScattered ? Scattered(i, n) : i));
    state.PauseTiming();
    emptied = emptied && m.Size() == 0;
    m = Map();
    state.ResumeTiming();
  }
  if (!emptied) state.SkipWithError("keys left after removing them all");
  state.SetItemsProcessed(state.iterations() * n);
}

// ---- iteration in key order ----

void BM_OrderedMap_Iterate(benchmark::State& state) {
  const int64_t n = state.range(0);
  auto& m = CachedMap(n);
  for (auto _ : state) {
    for (const Object& k : m._getkeys()) benchmark::DoNotOptimize(m._get(k));
  }
  state.SetItemsProcessed(state.iterations() * n);
}
void BM_Set_Iterate(benchmark::State& state) {
  const int64_t n = state.range(0);
  auto& s = CachedSet(n);
  for (auto _ : state) {
    for (const Object& k : s._aslist()) benchmark::DoNotOptimize(k);
  }
  state.SetItemsProcessed(state.iterations() * n);
}
void BM_Plain_Iterate(benchmark::State& state) {
  const int64_t n = state.range(0);
  auto& p = CachedPlain(n);
  for (auto _ : state) {
    for (const Object& k : p.keys) benchmark::DoNotOptimize(p.map.find(k)->second);
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// ---- bytes builder ----

constexpr int kChunk = 16;

ByteArray Chunk() {
  ByteArray b(kChunk);
  for (int i = 0; i < kChunk; ++i) b.Set(i, i * 37 + 11);
  return b;
}

std::shared_ptr<tm_bytesbuilder> NewBuilder() {
  auto bb = std::make_shared<tm_bytesbuilder>();
  bb->_initialize(world().col->bi);
  return bb;
}

// n bytes of scattered content (0 … 199) ending in an 8-byte pattern that occurs nowhere else:
// its first byte is common, so the search meets a candidate about every 200 bytes, but its
// last byte (250) appears only at the very end.
std::vector<uint8_t> SearchContent(int64_t n) {
  std::vector<uint8_t> v(static_cast<size_t>(n));
  uint32_t x = 12345;
  for (auto& b : v) {
    x = x * 1664525u + 1013904223u;
    b = static_cast<uint8_t>((x >> 24) % 200);
  }
  v.back() = 250;
  return v;
}

void BM_BytesBuilder_Append(benchmark::State& state) {
  const int64_t n = state.range(0);
  ByteArray chunk = Chunk();
  for (auto _ : state) {
    auto bb = NewBuilder();
    for (int64_t done = 0; done < n; done += kChunk) bb->_append(chunk);
    benchmark::DoNotOptimize(bb->_getlength());
  }
  state.SetBytesProcessed(state.iterations() * n);
}
void BM_Vector_Append(benchmark::State& state) {
  const int64_t n = state.range(0);
  ByteArray chunk = Chunk();
  for (auto _ : state) {
    std::vector<uint8_t> v;
    v.reserve(100);
    for (int64_t done = 0; done < n; done += kChunk) v.insert(v.end(), chunk.data(), chunk.data() + kChunk);
    benchmark::DoNotOptimize(v.data());
  }
  state.SetBytesProcessed(state.iterations() * n);
}

// Inserts a chunk at the front of n bytes, then cuts the content back to n (constant time).
void BM_BytesBuilder_InsertFront(benchmark::State& state) {
  const int64_t n = state.range(0);
  ByteArray chunk = Chunk();
  auto bb = NewBuilder();
  bb->_changelength(static_cast<int32_t>(n));
  for (auto _ : state) {
    bb->_insert(0, chunk);
    bb->_changelength(static_cast<int32_t>(n));
  }
  state.SetItemsProcessed(state.iterations());
}
void BM_Vector_InsertFront(benchmark::State& state) {
  const int64_t n = state.range(0);
  ByteArray chunk = Chunk();
  std::vector<uint8_t> v(static_cast<size_t>(n));
  for (auto _ : state) {
    v.insert(v.begin(), chunk.data(), chunk.data() + kChunk);
    v.resize(static_cast<size_t>(n));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_BytesBuilder_IndexOf(benchmark::State& state) {
  const int64_t n = state.range(0);
  auto content = SearchContent(n);
  auto bb = NewBuilder();
  bb->_append(ByteArray(std::span<const uint8_t>(content)));
  ByteArray pattern(std::span<const uint8_t>(content.end() - 8, content.end()));
  if (bb->_indexof(pattern) != n - 8) state.SkipWithError("pattern found early");
  for (auto _ : state) benchmark::DoNotOptimize(bb->_indexof(pattern));
  state.SetBytesProcessed(state.iterations() * n);
}
void BM_Vector_IndexOf(benchmark::State& state) {
  const int64_t n = state.range(0);
  auto v = SearchContent(n);
  std::vector<uint8_t> pattern(v.end() - 8, v.end());
  for (auto _ : state) benchmark::DoNotOptimize(std::search(v.begin(), v.end(), pattern.begin(), pattern.end()));
  state.SetBytesProcessed(state.iterations() * n);
}

}  // namespace
}  // namespace tmr

using namespace tmr;

// Short minimum times keep the whole program to about a minute; the 10^6 cases still run
// enough iterations for a stable figure.
#define SIZES(b) BENCHMARK(b)->Arg(10000)->Arg(100000)->Arg(1000000)->MinTime(0.2)
#define MAP_BENCH(b) SIZES(b)->Unit(benchmark::kMicrosecond)

MAP_BENCH(BM_OrderedMap_Put);
MAP_BENCH(BM_Set_Add);
MAP_BENCH(BM_Plain_Put);
SIZES(BM_OrderedMap_Get);
SIZES(BM_Set_Contains);
SIZES(BM_Plain_Get);
MAP_BENCH(BM_OrderedMap_Remove<kFront>);
MAP_BENCH(BM_Set_Remove<kFront>);
MAP_BENCH(BM_Plain_Remove<kFront>);
MAP_BENCH(BM_OrderedMap_Remove<kMiddle>);
MAP_BENCH(BM_Set_Remove<kMiddle>);
MAP_BENCH(BM_Plain_Remove<kMiddle>);
MAP_BENCH(BM_OrderedMap_Remove<kEnd>);
MAP_BENCH(BM_Set_Remove<kEnd>);
MAP_BENCH(BM_Plain_Remove<kEnd>);
MAP_BENCH(BM_RuntimeMap_Remove<kFront>);
MAP_BENCH(BM_RuntimeMap_Remove<kEnd>);
#define ALL_KEYS(b) BENCHMARK(b)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(3)->Unit(benchmark::kMillisecond)
ALL_KEYS(BM_RuntimeMap_PutAll);
ALL_KEYS(BM_RuntimeMap_RemoveAll<false>);
ALL_KEYS(BM_RuntimeMap_RemoveAll<true>);
MAP_BENCH(BM_OrderedMap_Iterate);
MAP_BENCH(BM_Set_Iterate);
MAP_BENCH(BM_Plain_Iterate);
MAP_BENCH(BM_BytesBuilder_Append);
MAP_BENCH(BM_Vector_Append);
SIZES(BM_BytesBuilder_InsertFront);
SIZES(BM_Vector_InsertFront);
MAP_BENCH(BM_BytesBuilder_IndexOf);
MAP_BENCH(BM_Vector_IndexOf);

BENCHMARK_MAIN();
