#include "platform/program/AssetsSearch.h"

#include <cstdlib>

#include "platform/driver/AppDriver.h"
#include "platform/program/ProgramInfo.h"

namespace tmr {

namespace {

namespace fs = std::filesystem;

constexpr const char* kVariable = "TMR_ASSETS_DIR";

// The folder $TMR_ASSETS_DIR names, if it names one.
std::optional<fs::path> FromEnvironment() {
  const char* dir = std::getenv(kVariable);
  if (!dir || !*dir) return std::nullopt;
  return fs::path(dir);
}

std::vector<fs::path> Candidates(const fs::path& named) {
  if (!named.empty()) return {named};
  if (auto dir = FromEnvironment()) return {*dir};
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  fs::path bin = exe.parent_path();
  std::vector<fs::path> out{(bin / program_info::kDataFromBin).lexically_normal()};
  // An installed copy never reads a source tree, even one still at the path it was built from.
  if (fs::equivalent(bin, program_info::kBuildDir, ec)) out.push_back(AppDriver::DefaultAssetsDirectory());
  return out;
}

}  // namespace

AssetsSearch::AssetsSearch(const fs::path& named)
    : fromEnvironment_(named.empty() && FromEnvironment()), tried_(Candidates(named)) {
  for (const auto& dir : tried_) {
    std::error_code ec;
    if (fs::is_directory(dir / "layouts", ec)) {
      found_ = dir;
      return;
    }
  }
}

std::string AssetsSearch::failure() const {
  std::string line = std::string(program_info::kName) + ": no assets (a folder holding layouts/) in ";
  if (tried_.empty()) line += "any folder: the executable's own location is unknown";
  for (size_t i = 0; i < tried_.size(); ++i) line += (i ? ", " : "") + tried_[i].string();
  // A variable set long ago is easily forgotten: say where the folder came from.
  if (fromEnvironment_)
    return line + " (named by " + kVariable + "); set " + kVariable +
           " to the folder that holds layouts/, unset it for the usual search, or name the folder with --assets DIR";
  return line + "; name the folder with --assets DIR";
}

}  // namespace tmr
