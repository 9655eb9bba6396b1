#pragma once
// The collections code module: one instance per runtime (rt.codeModule<tm_collections>()),
// with factories for ordered maps, sets and bit sets. Each factory initialises what it makes
// with this module's dispatcher.
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/core/List.h"
#include "platform/core/Module.h"

namespace tmr {

class tm_orderedmap;
class tm_set;
class tm_bitset;

class tm_collections : public StaticModule {
 public:
  // An empty ordered map.
  std::shared_ptr<tm_orderedmap> _createorderedmap();
  // An ordered map holding keys[i] -> values[i] in order, when both lists are initialised;
  // otherwise empty. A repeated key keeps its first place and takes its last value. values
  // must hold at least as many items as keys (extra values are ignored; fewer fail with the
  // list's out-of-bounds error).
  std::shared_ptr<tm_orderedmap> _createorderedmap2(const List& keys, const List& values);
  // An empty set.
  std::shared_ptr<tm_set> _createset();
  // A set of items in first-insertion order (each once), when items is initialised; else empty.
  std::shared_ptr<tm_set> _createset2(const List& items);
  // A bit set of size bits, all clear. A negative size is rejected.
  std::shared_ptr<tm_bitset> _createbitset(int32_t size);

  // The module keeps no state of its own.
  void _process_globals() override {}

  std::string_view className() const override { return "tm_collections"; }
  const SubTable& subTable() const override;
};

}  // namespace tmr
