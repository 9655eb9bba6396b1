#pragma once
// Finds the folder the program reads its layouts, images and scenarios from. A folder the person
// names (--assets DIR, else $TMR_ASSETS_DIR) is the only one tried, so that a mistyped folder is
// reported rather than quietly replaced by another. Otherwise: the data folder of the installation
// the executable belongs to, found relative to the executable so that a moved installation keeps
// working, then, only for the program run from its build folder, the source tree's assets. A folder
// counts when it holds a "layouts" folder.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tmr {

class AssetsSearch {
 public:
  // named: the folder given on the command line, empty when none was.
  explicit AssetsSearch(const std::filesystem::path& named);

  // The first folder tried that holds the layouts, or nothing.
  const std::optional<std::filesystem::path>& found() const { return found_; }
  const std::vector<std::filesystem::path>& tried() const { return tried_; }
  // One line for the person when nothing was found: the folders tried and how to name another
  // (for a folder from $TMR_ASSETS_DIR, that the variable named it and how to change it).
  std::string failure() const;

 private:
  bool fromEnvironment_ = false;
  std::vector<std::filesystem::path> tried_;
  std::optional<std::filesystem::path> found_;
};

}  // namespace tmr
