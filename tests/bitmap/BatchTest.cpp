// Drawing tasks and background batches: task builders, replaying primitives, the batch runner
// and the "_bitmapready:" event on the main loop.
#include "bitmap/DrawingBatchQueue.h"
#include "platform/core/ResumableSub.h"
#include "tests/bitmap/BitmapTestSupport.h"

namespace tmr::testing {
namespace {

// A module that takes the event of a batch named "MyBatch" in its handler.
class BatchCaller : public ClassModule {
 public:
  void _initialize(Runtime& rt) { initializeClassModule(rt); }
  void _mybatch_bitmapready(const std::shared_ptr<Bitmap>& bmp) { received.push_back(bmp); }
  std::string_view className() const override { return "tm_batchcaller"; }
  const SubTable& subTable() const override {
    static const SubTable table{sub<&BatchCaller::_mybatch_bitmapready>("_mybatch_bitmapready:")};
    return table;
  }
  std::vector<std::shared_ptr<Bitmap>> received;
};

// A coroutine that waits for "bc_bitmapready:", as a progress bar's frame does.
class ResumableSub_batchcaller_Frame : public ResumableSub {
 public:
  ResumableSub_batchcaller_Frame(std::shared_ptr<Module> p, std::shared_ptr<Bitmap>& got)
      : ResumableSub(std::move(p)), got(got) {}
  std::shared_ptr<Bitmap>& got;

 protected:
  SubBody body() override {
    auto args = co_await WaitFor("bc_bitmapready:");
    got = args.at(0).As<Bitmap>();
  }
};

class BatchTest : public BitmapTest {
 protected:
  BatchTest() {
    caller->_initialize(rt);
    rt.service<DrawingBatchQueue>().setMode(DrawingBatchQueue::Mode::Inline);
  }
  static List tasks(std::vector<std::shared_ptr<_drawtask>> ts) {
    List l;
    l.Initialize();
    for (auto& t : ts) l.Add(Object(t));
    return l;
  }
  static std::vector<uint8_t> pixels(const std::shared_ptr<Bitmap>& b) {
    auto s = b->pixels();
    return {s.begin(), s.end()};
  }
  // Runs a batch on runner and returns the bitmap its event brought.
  std::shared_ptr<Bitmap> run(const std::shared_ptr<tm_bitmapcreator>& runner, const List& list) {
    caller->received.clear();
    runner->_drawbitmapcreatorsasync(Object(caller), "MyBatch", list);
    EXPECT_TRUE(caller->received.empty()) << "the event comes on a later turn";
    rt.loop().runUntilIdle();
    EXPECT_EQ(caller->received.size(), 1u);
    return caller->received.empty() ? nullptr : caller->received.back();
  }

  // The log lines of skipped tasks.
  std::vector<std::string> skipped() const {
    std::vector<std::string> v;
    for (const auto& l : log)
      if (l.starts_with("Drawing task")) v.push_back(l);
    return v;
  }

  std::shared_ptr<BatchCaller> caller = std::make_shared<BatchCaller>();
};

TEST_F(BatchTest, AnEmptyBatchStillBringsTheUnchangedBitmapToAWaitingCoroutine) {
  auto runner = make(6, 4);
  put(runner, 2, 1, Pixel{1, 2, 3, 255});
  std::shared_ptr<Bitmap> got;
  auto frame = std::make_shared<ResumableSub_batchcaller_Frame>(caller, got);
  frame->start();
  runner->_drawbitmapcreatorsasync(Object(caller), "BC", tasks({}));
  EXPECT_FALSE(got);
  rt.loop().runOneTurn();
  ASSERT_TRUE(got);
  EXPECT_TRUE(frame->finished());
  EXPECT_EQ(got->pixelWidth(), 6);
  EXPECT_EQ(pixels(got), bytes(runner));
  EXPECT_TRUE(caller->received.empty()) << "the coroutine took the event, not the handler";
}

TEST_F(BatchTest, EventNamesAreLowerCasedAndTheHandlerGetsTheBitmap) {
  auto runner = make(3, 3);
  auto bmp = run(runner, tasks({runner->_asyncdrawrect(Rect(0, 0, 2, 2), runner->_createbrushfromcolor(-1), true, 0)}));
  ASSERT_TRUE(bmp);
  EXPECT_EQ(pixels(bmp), bytes(runner));
  EXPECT_EQ(alpha(runner, 1, 1), 255);
  EXPECT_EQ(alpha(runner, 2, 2), 0);
}

TEST_F(BatchTest, TasksDrawInOrderIntoTheirTargetsAndTheEventShowsTheRunner) {
  auto runner = make(10, 10);
  auto other = make(10, 10);
  auto source = make(4, 4);
  fill(source, Pixel{0, 0, 200, 255});
  auto red = runner->_createbrushfromcolor(static_cast<int32_t>(0xFFFF0000u));
  // A copy (TargetBC null: the runner), a canvas task built on the other bitmap creator, and a
  // rectangle drawn over part of the copy afterwards.
  auto copy = runner->_createdrawtask(Object(source), Rect(0, 0, 4, 4), 1, 1, false);
  auto onOther = other->_asyncdrawcircle(5, 5, 3, red, true, 0);
  auto over = runner->_asyncdrawrect(Rect(3, 3, 6, 6), red, true, 0);
  auto bmp = run(runner, tasks({copy, onOther, over}));
  EXPECT_EQ(copy->TargetBC, nullptr);
  EXPECT_EQ(onOther->TargetBC, other);
  EXPECT_EQ(px(runner, 1, 1), (Pixel{0, 0, 200, 255}));
  EXPECT_EQ(px(runner, 4, 4), (Pixel{255, 0, 0, 255})) << "the later task draws over the earlier";
  EXPECT_EQ(px(other, 5, 5), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(alpha(runner, 8, 8), 0);
  ASSERT_TRUE(bmp);
  EXPECT_EQ(pixels(bmp), bytes(runner));
  EXPECT_NE(pixels(bmp), bytes(other));
}

TEST_F(BatchTest, EachKindOfTaskDrawsAsItsDirectCallDoes) {
  auto source = make(12, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) put(source, x, y, Pixel{x * 20, y * 20, 0, (x + y) % 3 ? 255 : 0});
  auto cache = std::make_shared<_internalcompressedbccache>();
  auto cbc = source->_extractcompressedbc(source->targetrect, cache);
  auto path = std::make_shared<tm_bcpath>();
  path->_initialize(ba, 3, 3)->_lineto(25, 6)->_lineto(10, 27);

  struct Case {
    const char* name;
    std::function<std::shared_ptr<_drawtask>(tm_bitmapcreator&)> task;
    std::function<void(tm_bitmapcreator&)> direct;
  };
  auto brush = [](tm_bitmapcreator& bc) { return bc._createbrushfromcolor(static_cast<int32_t>(0xC0336699u)); };
  const std::vector<Case> cases{
      {"copy", [&](tm_bitmapcreator& bc) { return bc._createdrawtask(Object(source), Rect(2, 2, 10, 9), 5, 6, false); },
       [&](tm_bitmapcreator& bc) { bc._drawbitmapcreator(source, Rect(2, 2, 10, 9), 5, 6, false); }},
      {"transformed",
       [&](tm_bitmapcreator& bc) {
         auto t = bc._createdrawtask(Object(source), source->targetrect, 15, 15, true);
         t->Transform = true, t->SrcScaleX = 1.5f, t->SrcScaleY = 0.5f, t->Degrees = 30;
         t->IsCanvasTask = true;  // the first flag in order wins
         return t;
       },
       [&](tm_bitmapcreator& bc) {
         auto t = bc._createdrawtask(Object(source), source->targetrect, 15, 15, true);
         t->Transform = true, t->SrcScaleX = 1.5f, t->SrcScaleY = 0.5f, t->Degrees = 30;
         bc._drawbitmapcreatortransformed(t);
       }},
      {"compressed",
       [&](tm_bitmapcreator& bc) {
         auto t = bc._createdrawtask(Object(cbc), Rect(1, 1, 12, 12), 4, 3, false);
         t->IsCompressedSource = true;
         return t;
       },
       [&](tm_bitmapcreator& bc) { bc._drawcompressedbitmap(cbc, Rect(1, 1, 12, 12), 4, 3); }},
      {"line", [&](tm_bitmapcreator& bc) { return bc._asyncdrawline(2, 3, 27, 20, brush(bc), 3); },
       [&](tm_bitmapcreator& bc) { bc._drawline2(2, 3, 27, 20, brush(bc), 3); }},
      {"circle", [&](tm_bitmapcreator& bc) { return bc._asyncdrawcircle(15, 14, 9, brush(bc), false, 2); },
       [&](tm_bitmapcreator& bc) { bc._drawcircle2(15, 14, 9, brush(bc), false, 2); }},
      {"rect", [&](tm_bitmapcreator& bc) { return bc._asyncdrawrect(Rect(3, 4, 25, 20), brush(bc), false, 3); },
       [&](tm_bitmapcreator& bc) { bc._drawrect2(Rect(3, 4, 25, 20), brush(bc), false, 3); }},
      {"rounded",
       [&](tm_bitmapcreator& bc) { return bc._asyncdrawrectrounded(Rect(2, 5, 28, 22), brush(bc), true, 0, 6); },
       [&](tm_bitmapcreator& bc) { bc._drawrectrounded2(Rect(2, 5, 28, 22), brush(bc), true, 0, 6); }},
      {"path", [&](tm_bitmapcreator& bc) { return bc._asyncdrawpath(path, brush(bc), true, 0); },
       [&](tm_bitmapcreator& bc) { bc._drawpath2(path, brush(bc), true, 0); }},
      {"arc", [&](tm_bitmapcreator& bc) { return bc._asyncdrawarc(15, 15, 12, brush(bc), true, 0, 20, 250); },
       [&](tm_bitmapcreator& bc) { bc._drawarc2(15, 15, 12, brush(bc), true, 0, 20, 250); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto batched = make(30, 30), direct = make(30, 30);
    run(batched, tasks({c.task(*batched)}));
    c.direct(*direct);
    EXPECT_GT(painted(direct), 0);
    EXPECT_EQ(bytes(batched), bytes(direct));
  }
}

TEST_F(BatchTest, PrimitiveArgumentsArePackedAsFloatsAndIntParametersTruncated) {
  auto bc = make(30, 30);
  auto t = bc->_asyncdrawarc(1, 2, 3, bc->_createbrushfromcolor(-1), true, 4, 5.5f, 6);
  ASSERT_TRUE(t->CanvasTask);
  EXPECT_EQ(t->CanvasTask->Code, 6);
  EXPECT_TRUE(t->CanvasTask->Filled);
  ASSERT_EQ(t->CanvasTask->Values.size(), 6u);
  for (const Object& v : t->CanvasTask->Values) EXPECT_EQ(v.kind(), Object::Kind::Float);
  EXPECT_EQ(t->CanvasTask->Values[3], Object(4.0f));
  EXPECT_EQ(t->CanvasTask->Values[4], Object(5.5f));
  EXPECT_TRUE(t->IsCanvasTask);
  EXPECT_FALSE(t->IsInitialized) << "builders do not initialise the records";

  // A stroke width set by hand to 2.9 or -2.9 draws as 2 or -2.
  for (float width : {2.9f, -2.9f, 2.0f}) {
    SCOPED_TRACE(width);
    auto batched = make(30, 30), direct = make(30, 30);
    auto task = batched->_asyncdrawrect(Rect(2, 2, 28, 28), batched->_createbrushfromcolor(-1), false, 0);
    task->CanvasTask->Values[0] = Object(width);
    batched->_drawcanvasasync(task);
    direct->_drawrect2(Rect(2, 2, 28, 28), direct->_createbrushfromcolor(-1), false, static_cast<int>(width));
    EXPECT_EQ(bytes(batched), bytes(direct));
  }
}

TEST_F(BatchTest, UnknownPrimitiveCodesDrawNothing) {
  auto bc = make(10, 10);
  for (int code : {0, 7, -1}) {
    auto t = bc->_createcanvasdrawtask(
        code, bc->_createbrushfromcolor(-1), true,
        {Object(5.0f), Object(5.0f), Object(4.0f), Object(0.0f), Object(0.0f), Object(90.0f)});
    run(bc, tasks({t}));
  }
  EXPECT_EQ(painted(bc), 0);
  EXPECT_TRUE(skipped().empty()) << "an unknown primitive is no fault";
}

TEST_F(BatchTest, TasksThatCannotBeDrawnAreSkippedWithALineAndTheRestStillDraw) {
  auto runner = make(10, 10);
  auto brush = runner->_createbrushfromcolor(-1);
  auto shortValues = runner->_createcanvasdrawtask(2, brush, true, {Object(5.0f)});
  auto noBrush = runner->_asyncdrawcircle(5, 5, 3, nullptr, true, 0);
  auto noSource = runner->_createdrawtask(Object(), Rect(0, 0, 5, 5), 0, 0, false);
  auto wrongSource = runner->_createdrawtask(Object(runner), Rect(0, 0, 5, 5), 0, 0, false);
  wrongSource->IsCompressedSource = true;
  auto initialised = std::make_shared<_drawtask>();
  initialised->Initialize();  // its target is a new bitmap creator that was never initialised
  initialised->Source = Object(make(2, 2));
  auto good = runner->_asyncdrawrect(Rect(0, 0, 3, 3), brush, true, 0);
  List list = tasks({shortValues, noBrush, noSource, wrongSource, initialised, good});
  list.Add(Object(7));
  auto bmp = run(runner, list);
  EXPECT_EQ(painted(runner), 9);
  ASSERT_TRUE(bmp);
  EXPECT_EQ(skipped(), (std::vector<std::string>{
                           "Drawing task 0 skipped: code 2 needs 4 values, got 1",
                           "Drawing task 1 skipped: no brush",
                           "Drawing task 2 skipped: no source bitmap creator",
                           "Drawing task 3 skipped: no compressed bitmap",
                           "Drawing task 4 skipped: its target bitmap creator is not initialised",
                           "Drawing task 6 skipped: not a drawing task",
                       }));
}

TEST_F(BatchTest, TheBatchTakesTheTasksAsTheyWereWhenItStarted) {
  auto runner = make(10, 10);
  rt.service<DrawingBatchQueue>().setMode(DrawingBatchQueue::Mode::Worker);
  List list = tasks({runner->_asyncdrawrect(Rect(0, 0, 2, 2), runner->_createbrushfromcolor(-1), true, 0)});
  runner->_drawbitmapcreatorsasync(Object(caller), "MyBatch", list);
  list.Add(Object(runner->_asyncdrawrect(Rect(5, 5, 9, 9), runner->_createbrushfromcolor(-1), true, 0)));
  rt.service<DrawingBatchQueue>().waitIdle();
  rt.loop().runOneTurn();
  EXPECT_EQ(caller->received.size(), 1u);
  EXPECT_EQ(painted(runner), 4);
}

TEST_F(BatchTest, BatchesDrawOnTheWorkerThreadOneAfterAnotherAndArriveOnTheMainLoop) {
  auto& queue = rt.service<DrawingBatchQueue>();
  queue.setMode(DrawingBatchQueue::Mode::Worker);
  auto runner = make(64, 64);
  auto brush = runner->_createbrushfromcolor(static_cast<int32_t>(0xFF00FF00u));
  for (int i = 0; i < 3; ++i)
    runner->_drawbitmapcreatorsasync(
        Object(caller), "MyBatch",
        tasks({runner->_asyncdrawcircle(32, 32, static_cast<float>(10 + 5 * i), brush, true, 0)}));
  queue.waitIdle();
  EXPECT_TRUE(caller->received.empty()) << "results wait for the main loop";
  rt.loop().runOneTurn();
  ASSERT_EQ(caller->received.size(), 3u);
  auto direct = make(64, 64);
  direct->_drawcircle2(32, 32, 20, direct->_createbrushfromcolor(static_cast<int32_t>(0xFF00FF00u)), true, 0);
  EXPECT_EQ(pixels(caller->received.back()), bytes(direct));
  EXPECT_EQ(bytes(runner), bytes(direct));
}

TEST_F(BatchTest, ACallbackThatIsNotAModuleDropsTheEventButTheBatchDraws) {
  auto runner = make(4, 4);
  runner->_drawbitmapcreatorsasync(
      Object(), "MyBatch",
      tasks({runner->_asyncdrawrect(Rect(0, 0, 4, 4), runner->_createbrushfromcolor(-1), true, 0)}));
  rt.loop().runUntilIdle();
  EXPECT_EQ(painted(runner), 16);
  EXPECT_TRUE(caller->received.empty());
}

TEST(BatchShutdownTest, ARuntimeEndingWithBatchesUnderwayReleasesThemSafely) {
  std::vector<std::string> lines;
  {
    Runtime rt;
    rt.setLogSink([&](std::string_view l) { lines.emplace_back(l); });
    auto ba = std::make_shared<Dispatcher>(rt, std::weak_ptr<Module>());
    auto caller = std::make_shared<BatchCaller>();
    caller->_initialize(rt);
    for (auto mode : {DrawingBatchQueue::Mode::Inline, DrawingBatchQueue::Mode::Worker}) {
      rt.service<DrawingBatchQueue>().setMode(mode);
      auto runner = std::make_shared<tm_bitmapcreator>();
      runner->_initialize(ba, 200, 200);
      List l;
      l.Initialize();
      for (int i = 0; i < 20; ++i)
        l.Add(Object(runner->_asyncdrawcircle(100, 100, 90, runner->_createbrushfromcolor(-1), true, 0)));
      runner->_drawbitmapcreatorsasync(Object(caller), "MyBatch", l);
    }
    // The runtime ends here with one result posted and one batch on the worker, never delivered.
    EXPECT_TRUE(caller->received.empty());
  }
  EXPECT_FALSE(lines.empty()) << "the batches' bitmap creators were released while the runtime could log";
}

}  // namespace
}  // namespace tmr::testing
