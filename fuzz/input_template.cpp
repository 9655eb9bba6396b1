// The text input template's validation in its number modes: whatever text the field holds, a
// text it accepts (and so lets the user confirm) is a number the program can read, negative
// only when negatives are allowed and whole unless decimals are.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "app/TivomarshApplication.h"
#include "dialogs/tm_inputtemplate.h"
#include "fuzz/FuzzInput.h"
#include "platform/core/Object.h"
#include "platform/core/RuntimeError.h"
#include "platform/driver/AppDriver.h"
#include "platform/layout/LayoutLoader.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"

namespace {

struct Template {
  tmr::Runtime rt;
  std::shared_ptr<tmr::OwnerModule> owner = std::make_shared<tmr::OwnerModule>();
  std::shared_ptr<tmr::tm_inputtemplate> input = std::make_shared<tmr::tm_inputtemplate>();
  Template() {
    rt.setLogSink([](std::string_view) {});
    tmr::ViewSystem::of(rt);
    tmr::LayoutLoader::Install(rt, tmr::AppDriver::DefaultAssetsDirectory());
    tmr::TivomarshApplication().registerClasses(rt);
    owner->_initialize(rt);
    input->_initialize(owner->bi);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Template t;
  tmr::FuzzInput in(data, size);
  const uint8_t mode = in.byte();
  const bool decimals = mode & 1, negative = mode & 2;
  t.input->_configurefornumbers(decimals, negative);
  const tmr::String text(in.rest());
  t.input->_validate(text);
  if (!t.input->_isvalid(text)) return 0;
  double number = 0;
  try {
    number = tmr::Object(text).AsDouble();
  } catch (const tmr::RuntimeError&) {
    std::abort();  // accepted, then refused by the number conversion
  }
  if ((!negative && std::signbit(number)) || (!decimals && number != std::trunc(number))) std::abort();
  return 0;
}
