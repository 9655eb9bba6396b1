// Drawing tasks and background batches: records describing copies, compressed bitmaps and
// drawing primitives, run in order on the background worker, with the finished bitmap raised as
// "<event>_bitmapready:" on the main thread.
//
// A task that cannot be drawn (no source of its kind, no brush, too few values, a target that
// was never initialised) is skipped and a line says why; a task whose drawing fails does not
// stop the batch. The event is raised in every case, so a coroutine waiting for it never waits
// forever.
#include <memory>
#include <string>
#include <vector>

#include "bitmap/DrawingBatchQueue.h"
#include "bitmap/tm_bitmapcreator.h"
#include "platform/core/Runtime.h"

namespace tmr {

namespace {

// The number of values each primitive reads, by code (0: not a primitive).
size_t valuesNeeded(int32_t code) {
  switch (code) {
    case 1:
      return 5;
    case 2:
      return 4;
    case 3:
      return 1;
    case 4:
      return 2;
    case 5:
      return 1;
    case 6:
      return 6;
    default:
      return 0;
  }
}

// Why a canvas task cannot be replayed, or "" when it can (an unknown code draws nothing and is
// no fault).
std::string canvasTaskProblem(const _drawtask& task) {
  if (!task.CanvasTask) return "no canvas task";
  const _internalcanvasdrawtask& ct = *task.CanvasTask;
  const size_t needed = valuesNeeded(ct.Code);
  if (needed == 0) return "";
  if (!ct.Brush) return "no brush";
  if (ct.Values.size() < needed)
    return "code " + std::to_string(ct.Code) + " needs " + std::to_string(needed) + " values, got " +
           std::to_string(ct.Values.size());
  for (size_t i = 0; i < needed; ++i)
    if (!ct.Values[i].IsNumber()) return "value " + std::to_string(i) + " is not a number";
  if ((ct.Code == 3 || ct.Code == 4) && !task.Source.As<Rect>()) return "no rectangle";
  if (ct.Code == 5 && !task.Source.As<tm_bcpath>()) return "no path";
  return "";
}

// One batch, from the call to the delivery of its event.
struct Batch {
  std::shared_ptr<tm_bitmapcreator> runner;
  std::vector<std::shared_ptr<_drawtask>> tasks;
  std::string eventString;
  std::shared_ptr<Module> target;
  std::shared_ptr<Bitmap> bitmap;
  std::vector<std::string> log;  // written on the worker, logged on the main thread
};

// Draws one task; returns why it was skipped, or "".
std::string drawTask(const std::shared_ptr<tm_bitmapcreator>& runner, const std::shared_ptr<_drawtask>& task) {
  if (!task) return "not a drawing task";
  const std::shared_ptr<tm_bitmapcreator>& target = task->TargetBC ? task->TargetBC : runner;
  if (!target->IsInitialized()) return "its target bitmap creator is not initialised";
  if (task->Transform) {
    if (!task->Source.As<tm_bitmapcreator>()) return "no source bitmap creator";
    target->_drawbitmapcreatortransformed(task);
  } else if (task->IsCompressedSource) {
    auto cbc = task->Source.As<_compressedbc>();
    if (!cbc) return "no compressed bitmap";
    target->_drawcompressedbitmap(cbc, task->SrcRect, task->TargetX, task->TargetY);
  } else if (task->IsCanvasTask) {
    if (auto problem = canvasTaskProblem(*task); !problem.empty()) return problem;
    target->_drawcanvasasync(task);
  } else {
    auto source = task->Source.As<tm_bitmapcreator>();
    if (!source) return "no source bitmap creator";
    target->_drawbitmapcreator(source, task->SrcRect, task->TargetX, task->TargetY, task->SkipBlending);
  }
  return "";
}

// The body that runs on the background worker.
void runBatch(Batch& batch) {
  for (size_t i = 0; i < batch.tasks.size(); ++i) {
    std::string problem;
    try {
      problem = drawTask(batch.runner, batch.tasks[i]);
    } catch (const std::exception& e) {
      problem = std::string("failed: ") + e.what();
    }
    if (!problem.empty()) batch.log.push_back("Drawing task " + std::to_string(i) + " skipped: " + problem);
  }
  batch.bitmap = batch.runner->_getbitmap();
}

}  // namespace

// --- Task builders -----------------------------------------------------------------------------

std::shared_ptr<_drawtask> tm_bitmapcreator::_createdrawtask(const Object& Source, const Rect& SrcRect, int32_t TargetX,
                                                             int32_t TargetY, bool SkipBlending) {
  auto t = std::make_shared<_drawtask>();
  t->Source = Source;
  t->SrcRect = SrcRect;
  t->TargetX = TargetX;
  t->TargetY = TargetY;
  t->SkipBlending = SkipBlending;
  t->SrcScaleX = 1;
  t->SrcScaleY = 1;
  t->TargetBC = nullptr;
  return t;
}

std::shared_ptr<_drawtask> tm_bitmapcreator::_createcanvasdrawtask(int32_t Code, const std::shared_ptr<_bcbrush>& Brush,
                                                                   bool Filled, std::vector<Object> Values) {
  auto t = std::make_shared<_drawtask>();
  t->IsCanvasTask = true;
  auto ct = std::make_shared<_internalcanvasdrawtask>();
  ct->Code = Code;
  ct->Brush = Brush;
  ct->Filled = Filled;
  ct->Values = std::move(Values);
  t->CanvasTask = ct;
  t->TargetBC = self<tm_bitmapcreator>();
  return t;
}

namespace {
Object boxed(float v) { return Object(v); }
Object boxed(int32_t v) { return Object(static_cast<float>(v)); }
}  // namespace

std::shared_ptr<_drawtask> tm_bitmapcreator::_asyncdrawline(float X1, float Y1, float X2, float Y2,
                                                            const std::shared_ptr<_bcbrush>& Brush,
                                                            int32_t StrokeWidth) {
  return _createcanvasdrawtask(1, Brush, false, {boxed(X1), boxed(Y1), boxed(X2), boxed(Y2), boxed(StrokeWidth)});
}

std::shared_ptr<_drawtask> tm_bitmapcreator::_asyncdrawcircle(float X, float Y, float Radius,
                                                              const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                                              int32_t StrokeWidth) {
  return _createcanvasdrawtask(2, Brush, Filled, {boxed(X), boxed(Y), boxed(Radius), boxed(StrokeWidth)});
}

std::shared_ptr<_drawtask> tm_bitmapcreator::_asyncdrawrect(const Rect& R, const std::shared_ptr<_bcbrush>& Brush,
                                                            bool Filled, int32_t StrokeWidth) {
  auto t = _createcanvasdrawtask(3, Brush, Filled, {boxed(StrokeWidth)});
  t->Source = Object(std::make_shared<Rect>(R));
  return t;
}

std::shared_ptr<_drawtask> tm_bitmapcreator::_asyncdrawrectrounded(const Rect& R,
                                                                   const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                                                   int32_t StrokeWidth, int32_t CornersRadius) {
  auto t = _createcanvasdrawtask(4, Brush, Filled, {boxed(StrokeWidth), boxed(CornersRadius)});
  t->Source = Object(std::make_shared<Rect>(R));
  return t;
}

std::shared_ptr<_drawtask> tm_bitmapcreator::_asyncdrawpath(const std::shared_ptr<tm_bcpath>& Path,
                                                            const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                                            int32_t StrokeWidth) {
  auto t = _createcanvasdrawtask(5, Brush, Filled, {boxed(StrokeWidth)});
  t->Source = Path ? Object(Path) : Object();
  return t;
}

std::shared_ptr<_drawtask> tm_bitmapcreator::_asyncdrawarc(float X, float Y, float Radius,
                                                           const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                                           int32_t StrokeWidth, float StartAngle, float SweepAngle) {
  return _createcanvasdrawtask(
      6, Brush, Filled, {boxed(X), boxed(Y), boxed(Radius), boxed(StrokeWidth), boxed(StartAngle), boxed(SweepAngle)});
}

// --- Replaying a primitive ---------------------------------------------------------------------

void tm_bitmapcreator::_drawcanvasasync(const std::shared_ptr<_drawtask>& Task) {
  if (!Task || !canvasTaskProblem(*Task).empty()) return;
  const _internalcanvasdrawtask& ct = *Task->CanvasTask;
  const auto& v = ct.Values;
  // Values that stand for Int parameters are truncated toward zero.
  auto f = [&](size_t i) { return v[i].AsFloat(); };
  auto n = [&](size_t i) { return v[i].AsInt(); };
  switch (ct.Code) {
    case 1:
      _drawline2(f(0), f(1), f(2), f(3), ct.Brush, n(4));
      break;
    case 2:
      _drawcircle2(f(0), f(1), f(2), ct.Brush, ct.Filled, n(3));
      break;
    case 3:
      _drawrect2(*Task->Source.As<Rect>(), ct.Brush, ct.Filled, n(0));
      break;
    case 4:
      _drawrectrounded2(*Task->Source.As<Rect>(), ct.Brush, ct.Filled, n(0), n(1));
      break;
    case 5:
      _drawpath2(Task->Source.As<tm_bcpath>(), ct.Brush, ct.Filled, n(0));
      break;
    case 6:
      _drawarc2(f(0), f(1), f(2), ct.Brush, ct.Filled, n(3), f(4), f(5));
      break;
    default:
      break;  // no such primitive: nothing to draw
  }
}

// --- Batches -----------------------------------------------------------------------------------

void tm_bitmapcreator::_drawbitmapcreatorsasync(const Object& Callback, const String& EventName, const List& Tasks) {
  const String full(EventName.ToLowerCase().str() + "_bitmapready:");
  // This platform takes the native branch of the view layer (IsIOS is True).
  jme().RunMethod("DrawBitmapCreatorsAsync:::",
                  {Tasks.IsInitialized() ? Object(Tasks) : Object(), Object(full), Callback});
}

void tm_bitmapcreator::DrawBitmapCreatorsAsync(const List& Tasks, const String& FullEventName, const Object& Target) {
  // A batch is delivered through the runtime of this bitmap creator.
  if (!Module::bi) return;
  auto batch = std::make_shared<Batch>();
  batch->runner = self<tm_bitmapcreator>();
  // The tasks are taken now: changing the list afterwards does not change the batch.
  if (Tasks.IsInitialized())
    for (const Object& o : Tasks.items()) batch->tasks.push_back(o.As<_drawtask>());
  batch->eventString = FullEventName.str();
  batch->target = Target.As<Module>();
  runtime().service<DrawingBatchQueue>().submit([batch]() -> std::function<void()> {
    runBatch(*batch);
    return [batch] {
      Runtime& rt = batch->runner->runtime();
      for (const auto& line : batch->log) rt.Log(line);
      // A callback that is not a module has nowhere to take the event; one without a handler
      // or a waiting coroutine drops it.
      if (batch->target && batch->target->bi)
        batch->target->bi->raiseEventString(Object(), batch->eventString, {Object(batch->bitmap)});
    };
  });
}

}  // namespace tmr
