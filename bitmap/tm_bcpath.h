#pragma once
// A polygon of float points that the bitmap creator strokes or fills. Filling needs the path
// prepared: closed, its orientation found, its outline split into chains that are monotone in
// Y, and its bounds. Preparation is cached (dataready) until the points change.
#include <memory>
#include <vector>

#include "bitmap/_internalbcpathcolumndata.h"
#include "bitmap/_internalbcpathpointdata.h"
#include "platform/core/Module.h"
#include "platform/graphics/Rect.h"

namespace tmr {

class tm_bcpath : public ClassModule {
 public:
  std::string_view className() const override { return "tm_bcpath"; }
  const SubTable& subTable() const override;

  // Starts over with the single vertex (X, Y). The runtime comes from the dispatcher.
  std::shared_ptr<tm_bcpath> _initialize(const std::shared_ptr<Dispatcher>& ba, float X, float Y);
  std::shared_ptr<tm_bcpath> _reset(float X, float Y);
  // Appends a vertex; a path whose only vertex is exactly (X, Y) stays as it is.
  std::shared_ptr<tm_bcpath> _lineto(float X, float Y);
  // Removes the last vertex (nothing on an empty path).
  void _removelastpoint();
  void _invalidate();
  // A new path over the same vertex records (a new list), with this path's state.
  std::shared_ptr<tm_bcpath> _clone();
  std::shared_ptr<_internalbcpathpointdata> _createpoint(float X, float Y);
  std::shared_ptr<_internalbcpathcolumndata> _createnewcolumndata(float Y, float SignY);
  // Closes the path (adding the first point again when the last differs), then finds the
  // orientation, the chains and the bounds; nothing when the path is already prepared.
  void _prepareforfilling();
  // internalcounterclockwise: counter-clockwise on the screen (y grows downwards).
  void _findorder();
  void _buildcolumndata();
  Rect _findboundingrect();

  // The chain of each vertex as this path's own preparation found it. The vertex records may
  // be shared with clones, and a clone's preparation rewrites their ColumnData; filling reads
  // these, so one path's preparation never disturbs another's.
  const std::vector<std::shared_ptr<_internalbcpathcolumndata>>& chains() const { return chains_; }

  std::vector<std::shared_ptr<_internalbcpathpointdata>> points;
  bool dataready = false;
  Rect bounds;
  bool internalcounterclockwise = false;
  bool drawconnectionsegments = true;

 protected:
  void _class_globals() override;

 private:
  std::vector<std::shared_ptr<_internalbcpathcolumndata>> chains_;
};

}  // namespace tmr
