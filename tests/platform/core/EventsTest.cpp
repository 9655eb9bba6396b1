#include <gtest/gtest.h>

#include "platform/core/Common.h"
#include "platform/core/Record.h"
#include "platform/core/Runtime.h"
#include "tests/platform/core/TestModules.h"

namespace tmr {
namespace {

struct EventsTest : ::testing::Test {
  Runtime rt;
  std::vector<std::string> log;
  std::shared_ptr<ProbeModule> mod;
  void SetUp() override {
    rt.setLogSink([this](std::string_view l) { log.emplace_back(l); });
    mod = ProbeModule::Make(rt);
  }
};

TEST_F(EventsTest, EventStringIsLowerCasedWithOneColonPerParameter) {
  EXPECT_EQ(EventString("pmBarks", "_ValueChanged", 1), "pmbarks__valuechanged:");
  EXPECT_EQ(EventString("Manager", "Connected", 0), "manager_connected");
  EXPECT_EQ(EventString("dev", "Data", 1), "dev_data:");
  mod->bi->raiseEvent(Object("the sender"), "DEV", "DATA", {Object(5)});
  EXPECT_EQ(mod->calls, (std::vector<std::string>{"data 5"}));
}

TEST_F(EventsTest, EventsWithoutAHandlerOrWithAnotherParameterCountAreDropped) {
  mod->bi->raiseEvent(Object(), "dev", "unknown", {});
  mod->bi->raiseEvent(Object(), "dev", "data", {Object(1), Object(2)});
  EXPECT_TRUE(mod->calls.empty());
}

TEST_F(EventsTest, TheHandlerSeesTheSenderOfItsEvent) {
  auto other = ProbeModule::Make(rt);
  mod->bi->raiseEventString(Object(other), "ping", {});
  ASSERT_EQ(mod->senders.size(), 1u);
  EXPECT_EQ(mod->senders[0], Object(other));
  EXPECT_TRUE(mod->c->Sender().IsNull()) << "no sender outside a handler";
}

TEST_F(EventsTest, CallSubRunsAtOnceByNameAndReturnsTheResult) {
  EXPECT_EQ(mod->c->CallSub3(Object(mod), "SUM", 2, 3), Object(5));
  EXPECT_TRUE(mod->c->CallSub2(Object(mod), "missing", 1).IsNull());
  EXPECT_TRUE(mod->c->CallSub(Object("not a module"), "ping").IsNull());
  EXPECT_TRUE(mod->c->SubExists(Object(mod), "Sum", 2));
  EXPECT_FALSE(mod->c->SubExists(Object(mod), "Sum", 1));
  EXPECT_FALSE(mod->c->SubExists(Object(), "Sum", 2));
}

TEST_F(EventsTest, DelayedCallsRunNextTurnInOrderWithArgumentsAsTheyWereAtTheCall) {
  String text("first");
  mod->c->CallSubDelayed2(Object(mod), "note", text);
  text = "changed";
  mod->c->CallSubDelayed(Object(mod), "ping");
  mod->c->CallSubDelayed2(Object(mod), "missing", 1);
  EXPECT_TRUE(mod->calls.empty());
  rt.loop().runOneTurn();
  EXPECT_EQ(mod->calls, (std::vector<std::string>{"note first", "ping"}));
}

TEST_F(EventsTest, AnInitialisedClassInstanceLogsItsReleaseAndInitialiseResetsFields) {
  mod->field = 9;
  mod->_initialize(rt);
  EXPECT_EQ(mod->field, 0);
  EXPECT_EQ(mod->globalsRuns, 2);
  mod.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"Class (tm_probe) instance released."}));
  auto never = std::make_shared<ProbeModule>();
  never.reset();
  EXPECT_EQ(log.size(), 1u) << "an instance never initialised logs nothing";
}

TEST_F(EventsTest, ASubKeyMustMatchItsParameterCount) {
  EXPECT_THROW(sub<&ProbeModule::_sum>("_sum:"), std::logic_error);
}

// Services record their release in a journal that lives outside the runtime.
struct Journal {
  explicit Journal(Runtime&) {}
  std::vector<std::string>* out = nullptr;
};
struct BaseService {
  explicit BaseService(Runtime& rt) : journal(rt.service<Journal>()) {}
  ~BaseService() { journal.out->push_back("base service"); }
  Journal& journal;
};
struct UpperService {
  explicit UpperService(Runtime& rt) : journal(rt.service<Journal>()) { rt.service<BaseService>(); }
  ~UpperService() { journal.out->push_back("upper service"); }
  Journal& journal;
};
struct JournalModule : StaticModule {
  std::vector<std::string>* out = nullptr;
  ~JournalModule() override { out->push_back("code module"); }
  std::string_view className() const override { return "tm_journal"; }
  const SubTable& subTable() const override {
    static const SubTable none;
    return none;
  }
};

TEST(RuntimeShutdownTest, CodeModulesGoFirstThenServicesFromTheLastMadeToTheFirst) {
  std::vector<std::string> released;
  {
    Runtime rt;
    rt.service<Journal>().out = &released;
    rt.service<UpperService>();  // makes BaseService inside its constructor
    rt.codeModule<JournalModule>()->out = &released;
  }
  EXPECT_EQ(released, (std::vector<std::string>{"code module", "upper service", "base service"}));
}

// A module whose release posts work holding the next module of its chain.
struct ChainModule : ProbeModule {
  std::shared_ptr<ProbeModule> next;
  ~ChainModule() override {
    if (next) bi->runtime().loop().post([n = std::move(next)] {});
  }
};

TEST(RuntimeShutdownTest, WorkPostedByReleasedModulesIsReleasedToAnyDepthBeforeShutdownEnds) {
  std::vector<std::string> log;
  Runtime rt;
  rt.setLogSink([&log](std::string_view l) { log.emplace_back(l); });
  std::shared_ptr<ProbeModule> chain = ProbeModule::Make(rt);
  for (int i = 0; i < 4; ++i) {
    auto link = std::make_shared<ChainModule>();
    link->_initialize(rt);
    link->next = std::move(chain);
    chain = std::move(link);
  }
  rt.loop().post([c = std::move(chain)] {});
  rt.shutdown();
  EXPECT_EQ(log, std::vector<std::string>(5, "Class (tm_probe) instance released."));
}

class _sample : public Record {
 public:
  int32_t Size = 0;
  String Name;
  void Initialize() override {
    Size = 0;
    Name = "";
    IsInitialized = true;
  }

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override { return {{"Size", Size}, {"Name", Name}}; }
};

TEST_F(EventsTest, RecordsDescribeThemselvesInDeclarationOrder) {
  auto r = std::make_shared<_sample>();
  EXPECT_FALSE(r->IsInitialized);
  EXPECT_EQ(r->description(), "Not initialized");
  r->Initialize();
  r->Size = 3;
  r->Name = "x";
  EXPECT_EQ(Object(r).AsString().str(), "[Size=3, Name=x]");
}

}  // namespace
}  // namespace tmr
