#include "command/installation.h"

#include <filesystem>

namespace vantrel {

std::string InstalledShareFile(const std::string& executableFolder, const std::string& path) {
  return (std::filesystem::path(executableFolder) / ".." / "share" / path).lexically_normal().string();
}

}  // namespace vantrel
