#pragma once
// Rich text (an attributed string): runs of text, each with its own font and colour or with
// the label's. Labels show it as it is; as a plain value its text is its characters.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/RuntimeObject.h"
#include "platform/core/String.h"
#include "platform/graphics/Font.h"

namespace tmr {

class RichText : public RuntimeObject {
 public:
  struct Run {
    String text;
    Font font;                     // uninitialised: the label's font
    std::optional<int32_t> color;  // none: the label's text colour
  };

  RichText() = default;
  explicit RichText(std::vector<Run> runs) : runs_(std::move(runs)) {}

  void append(Run run) { runs_.push_back(std::move(run)); }
  const std::vector<Run>& runs() const { return runs_; }
  String plainText() const;
  std::string description() const override { return plainText().str(); }

 private:
  std::vector<Run> runs_;
};

}  // namespace tmr
