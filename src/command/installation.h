// Where an installed Vantrel keeps its files: under PREFIX/share, found
// from the folder of the running program, PREFIX/bin.
#pragma once

#include <string>

namespace vantrel {

// PREFIX/share/`path` for a program in PREFIX/bin, lexically normalised.
std::string InstalledShareFile(const std::string& executableFolder, const std::string& path);

}  // namespace vantrel
